#include "widgets/BusyLook.h"

#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QMovie>
#include <QString>

#include "widgets/WidgetResources.h"

namespace BusyLook {

void applyWindow(QDialog* dialog) {
    // Frameless, but still a dialog window: without the dialog type a dialog with a parent
    // would turn into an invisible child widget of the page that opened it.
    dialog->setWindowFlags(dialog->windowFlags() | Qt::FramelessWindowHint);
    dialog->setAttribute(Qt::WA_TranslucentBackground);
}

void applyText(QLabel* label) {
    QFont font;
    font.setFamily(QStringLiteral("微软雅黑"));
    font.setPointSize(15);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    // The style sheet overrides the form's font: red Arial at 17 pixels.
    label->setStyleSheet(QStringLiteral("font-family:Arial; font-size:17px; color:red;"));
}

QMovie* attachLoadingMovie(QLabel* label, QObject* owner) {
    ensureWidgetResources();
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setScaledContents(true);
    auto* movie = new QMovie(QStringLiteral(":/Image/loading.gif"), QByteArray(), owner);
    label->setMovie(movie);
    return movie;
}

}  // namespace BusyLook
