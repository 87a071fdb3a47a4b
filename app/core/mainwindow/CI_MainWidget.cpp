#include "mainwindow/CI_MainWidget.h"

#include "ui_CI_MainWidget.h"

#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

CI_MainWidget::CI_MainWidget(QWidget* parent) : QWidget(parent), ui(new Ui::CI_MainWidget) {
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/Image/windowLogo.png")));

    showFullScreen();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(available.width(), available.height());
    }
    // Frameless, with the system-menu, minimise and maximise hints. Setting
    // the flags hides the window; start-up shows it once its sheet is set.
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);

    connect(ui->frame_Head, SIGNAL(sig_ChangePage(PageType)), ui->frame_Body,
            SLOT(slot_ChangePage(PageType)));
}

CI_MainWidget::~CI_MainWidget() {
    delete ui;
}
