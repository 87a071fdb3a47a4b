#include "ImageFrameFixture.h"

#include "ImageProcessFrame.h"

#include <QPushButton>

TEST_F(ImageFrameTest, PagePassesEnterAndLeaveAndReturnsToTheExperimentPage) {
    ImageProcessFrame page;
    page.resize(1024, 643);
    page.show();
    ImageProcess_ImageFrame* image = page.imageFrame();
    ASSERT_EQ(image->parent(), &page);
    EXPECT_EQ(page.objectName(), "ImageProcessFrame");

    putGelCapture(8, 6, [](int x, int y) { return x * 30 + y; });
    page.slot_EnterIPFrame();
    EXPECT_TRUE(image->loaded());
    EXPECT_EQ(image->currentPicture().size(), QSize(8, 6));
    page.exitImgProcessFrameHandle();
    EXPECT_FALSE(image->loaded());

    QList<FrameID> change;
    QObject::connect(&page, &ImageProcessFrame::sig_ChangeFrame,
                     [&change](FrameID id) { change << id; });
    auto* back = image->findChild<QPushButton*>(QStringLiteral("pushButton_FrameBack"));
    ASSERT_NE(back, nullptr);
    const std::pair<int, FrameID> cases[] = {
        {Varnu, VarnuFrameID}, {WesternBlot, WesternBlotFrameID}, {MultFluore, MultFluoreFrameID}};
    for (const auto& [type, id] : cases) {
        s_control->expType = type;
        back->click();
        ASSERT_FALSE(change.isEmpty());
        EXPECT_EQ(change.takeLast(), id);
    }
}
