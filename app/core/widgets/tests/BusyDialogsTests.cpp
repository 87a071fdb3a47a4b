#include <gtest/gtest.h>

#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QMovie>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "widgets/AutoDialog.h"
#include "widgets/InitialDialog.h"
#include "widgets/LoadingDialog.h"
#include "widgets/WaitingDialog.h"

namespace {

QLabel* label(QWidget& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QString::fromLatin1(name));
}

void expectBusyLook(QDialog& dialog) {
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dialog"));
    QLabel* text = label(dialog, "label_Text");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(text->alignment(), Qt::AlignCenter);
    EXPECT_EQ(text->font().family(), QStringLiteral("微软雅黑"));
    EXPECT_EQ(text->font().pointSize(), 15);
    EXPECT_EQ(text->styleSheet(), QStringLiteral("font-family:Arial; font-size:17px; color:red;"));
}

// The animation label plays a real, multi-frame picture of the library's resources.
void expectPlayingAnimation(QDialog& dialog) {
    QLabel* loading = label(dialog, "label_loading");
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->geometry(), QRect(20, 0, 180, 40));
    EXPECT_TRUE(loading->hasScaledContents());
    ASSERT_NE(loading->movie(), nullptr);
    EXPECT_EQ(loading->movie()->fileName(), QStringLiteral(":/Image/loading.gif"));
    EXPECT_TRUE(loading->movie()->isValid());
    EXPECT_EQ(loading->movie()->state(), QMovie::Running);
}

TEST(LoadingDialog, ShowsItsTextAloneInAGridWithoutMargins) {
    LoadingDialog dialog(nullptr, QStringLiteral("Estimating exposure time..."));
    expectBusyLook(dialog);
    EXPECT_EQ(dialog.size(), QSize(300, 40));
    EXPECT_EQ(label(dialog, "label_Text")->text(), QStringLiteral("Estimating exposure time..."));
    auto* grid = dialog.findChild<QGridLayout*>(QStringLiteral("gridLayout"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->spacing(), 0);
    EXPECT_EQ(grid->contentsMargins(), QMargins(0, 0, 0, 0));
    EXPECT_EQ(label(dialog, "label_loading"), nullptr);
}

TEST(InitialDialog, PlaysTheAnimationOverInitializing) {
    InitialDialog dialog;
    expectBusyLook(dialog);
    expectPlayingAnimation(dialog);
    EXPECT_EQ(dialog.size(), QSize(220, 90));
    EXPECT_EQ(label(dialog, "label_Text")->geometry(), QRect(0, 50, 220, 40));
    EXPECT_EQ(label(dialog, "label_Text")->text(), QStringLiteral("Initializing..."));
}

TEST(AutoDialog, PlaysTheAnimationOverTheCallersText) {
    AutoDialog dialog;
    expectBusyLook(dialog);
    expectPlayingAnimation(dialog);
    EXPECT_EQ(dialog.size(), QSize(220, 90));
    EXPECT_TRUE(label(dialog, "label_Text")->text().isEmpty());
    dialog.setText(QStringLiteral("Auto focusing..."));
    EXPECT_EQ(label(dialog, "label_Text")->text(), QStringLiteral("Auto focusing..."));
}

// A page replaces a running automatic-step dialog by deleting it; the modal loop of the old
// one must then end instead of leaving the page blocked.
TEST(AutoDialog, DeletedWhileRunningModallyEndsItsModalLoop) {
    QWidget page;
    QPointer<AutoDialog> dialog = new AutoDialog(&page);
    dialog->setText(QStringLiteral("Auto exposuring..."));
    QTimer::singleShot(20, [&] { delete dialog.data(); });
    // Bound the test should the deletion not end the loop.
    QTimer::singleShot(5000, [&] {
        if (dialog)
            dialog->reject();
    });
    QElapsedTimer clock;
    clock.start();
    const int result = dialog->exec();
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_LT(clock.elapsed(), 4000);
}

// Opened over a page, each busy dialog stays a window of its own, shown above the page,
// never a child widget placed inside it.
TEST(BusyDialogs, OpenedOverAPageStayDialogWindows) {
    QWidget page;
    page.resize(800, 600);
    page.show();
    const std::vector<QDialog*> dialogs = {new LoadingDialog(&page, QStringLiteral("Loading")),
                                           new InitialDialog(&page), new AutoDialog(&page),
                                           new WaitingDialog(&page)};
    for (QDialog* dialog : dialogs) {
        SCOPED_TRACE(dialog->metaObject()->className());
        EXPECT_EQ(dialog->windowType(), Qt::Dialog);
        EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
        dialog->show();
        EXPECT_TRUE(dialog->isWindow());
        EXPECT_TRUE(dialog->isVisible());
        dialog->hide();
    }
}

TEST(WaitingDialog, StartsHiddenWithItsAnimationLoadedButStopped) {
    WaitingDialog dialog;
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.size(), QSize(201, 184));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(dialog.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(dialog.styleSheet().isEmpty());
    QLabel* picture = label(dialog, "label");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 201, 171));
    EXPECT_TRUE(picture->hasScaledContents());
    EXPECT_FALSE(picture->autoFillBackground());
    ASSERT_NE(picture->movie(), nullptr);
    EXPECT_EQ(picture->movie()->fileName(), QStringLiteral(":/Image/waiting.gif"));
    EXPECT_TRUE(picture->movie()->isValid());
    EXPECT_EQ(picture->movie()->state(), QMovie::NotRunning);
}

TEST(WaitingDialog, HidesTwoHundredMillisecondsAfterTheLastOfTwoQuickCalls) {
    WaitingDialog dialog;
    QMovie* movie = label(dialog, "label")->movie();
    QElapsedTimer clock;

    clock.start();
    dialog.showWaiting();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(movie->state(), QMovie::Running);
    QTest::qWait(120);
    const qint64 secondCall = clock.elapsed();
    if (secondCall >= 190 || !dialog.isVisible())
        GTEST_SKIP() << "machine too slow to place two calls within 200 ms";
    dialog.showWaiting();

    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 3000);
    const qint64 hiddenAt = clock.elapsed();
    EXPECT_GE(hiddenAt - secondCall, 195) << "hid before 200 ms after the second call";
    EXPECT_EQ(movie->state(), QMovie::NotRunning);

    // It can be shown again.
    dialog.showWaiting();
    EXPECT_TRUE(dialog.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 3000);
}

TEST(BusyAnimations, AreDrawnPicturesWithSeveralFrames) {
    WaitingDialog owner;  // any widget of the library makes its pictures available
    for (const char* file : {":/Image/loading.gif", ":/Image/waiting.gif"}) {
        QMovie movie(QString::fromLatin1(file));
        ASSERT_TRUE(movie.isValid()) << file;
        EXPECT_GT(movie.frameCount(), 1) << file;
        ASSERT_TRUE(movie.jumpToFrame(0)) << file;
        const QImage frame = movie.currentImage().convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        int transparent = 0;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x)
                (qAlpha(frame.pixel(x, y)) == 0 ? transparent : opaque)++;
        EXPECT_GT(opaque, 100) << file;
        EXPECT_GT(transparent, opaque) << file << ": the background must stay see-through";
    }
}

}  // namespace
