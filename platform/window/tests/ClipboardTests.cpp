// The clipboard: one holder thread at a time, a copy of the DIB block.
// Every test leaves it closed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <vector>

#include "window/PlatWindow.h"

namespace {

constexpr auto kPatience = std::chrono::seconds(20);

std::vector<uint8_t> DibBlock(uint8_t fill, size_t pixels) {
    std::vector<uint8_t> block(sizeof(PlatDibHeader) + pixels, fill);
    PlatDibHeader header{};
    header.biSize = sizeof(PlatDibHeader);
    std::memcpy(block.data(), &header, sizeof header);
    return block;
}

std::vector<uint8_t> Content() {
    std::vector<uint8_t> content(platwin_clipboard_get_dib(nullptr, 0));
    EXPECT_EQ(platwin_clipboard_get_dib(content.data(), content.size()), content.size());
    return content;
}

void Publish(const std::vector<uint8_t>& block) {
    ASSERT_EQ(platwin_clipboard_open(), 1);
    EXPECT_EQ(platwin_clipboard_empty(), 1);
    EXPECT_EQ(platwin_clipboard_set_dib(block.data(), block.size()), 1);
    EXPECT_EQ(platwin_clipboard_close(), 1);
}

int OpenOnAnotherThread() {
    return std::async(std::launch::async, [] { return platwin_clipboard_open(); }).get();
}

TEST(ClipboardTest, HoldsACopyOfTheLastBlockSet) {
    std::vector<uint8_t> block = DibBlock(0x11, 12);
    Publish(block);
    block[45] = 0x22;  // the caller's block is not the clipboard's
    const std::vector<uint8_t> expected = DibBlock(0x11, 12);
    EXPECT_EQ(Content(), expected);

    // Too small a buffer: the size is reported, nothing is written.
    std::vector<uint8_t> small(10, 0xEE);
    EXPECT_EQ(platwin_clipboard_get_dib(small.data(), small.size()), expected.size());
    EXPECT_EQ(small, std::vector<uint8_t>(10, 0xEE));

    const std::vector<uint8_t> replacement = DibBlock(0x33, 3);
    ASSERT_EQ(platwin_clipboard_open(), 1);
    EXPECT_EQ(platwin_clipboard_set_dib(replacement.data(), replacement.size()), 1);
    EXPECT_EQ(platwin_clipboard_close(), 1);
    EXPECT_EQ(Content(), replacement);

    ASSERT_EQ(platwin_clipboard_open(), 1);
    EXPECT_EQ(platwin_clipboard_empty(), 1);
    EXPECT_EQ(platwin_clipboard_close(), 1);
    EXPECT_EQ(platwin_clipboard_get_dib(nullptr, 0), 0u);
}

TEST(ClipboardTest, OneHolderThreadAtATime) {
    ASSERT_EQ(platwin_clipboard_open(), 1);
    EXPECT_EQ(platwin_clipboard_open(), 1) << "the holder may open again";
    EXPECT_EQ(OpenOnAnotherThread(), 0);
    EXPECT_EQ(platwin_clipboard_close(), 1);
    EXPECT_EQ(platwin_clipboard_close(), 0) << "one close ends the hold";

    EXPECT_EQ(OpenOnAnotherThread(), 1) << "free again";
    // That thread ended without closing: its end released the hold.
    ASSERT_EQ(platwin_clipboard_open(), 1);
    EXPECT_EQ(platwin_clipboard_close(), 1);
}

TEST(ClipboardTest, OnlyTheHolderChangesOrClosesIt) {
    Publish(DibBlock(0x44, 4));
    std::promise<void> release;
    std::promise<void> opened;
    auto holder = std::async(std::launch::async, [&] {
        const int result = platwin_clipboard_open();
        opened.set_value();
        release.get_future().wait_for(kPatience);
        return result + platwin_clipboard_close();
    });
    ASSERT_EQ(opened.get_future().wait_for(kPatience), std::future_status::ready);
    const std::vector<uint8_t> other = DibBlock(0x55, 4);
    EXPECT_EQ(platwin_clipboard_open(), 0);
    EXPECT_EQ(platwin_clipboard_empty(), 0);
    EXPECT_EQ(platwin_clipboard_set_dib(other.data(), other.size()), 0);
    EXPECT_EQ(platwin_clipboard_close(), 0);
    release.set_value();
    EXPECT_EQ(holder.get(), 2) << "opened and closed by the holder";
    EXPECT_EQ(Content(), DibBlock(0x44, 4));

    // Not opened at all.
    EXPECT_EQ(platwin_clipboard_empty(), 0);
    EXPECT_EQ(platwin_clipboard_set_dib(other.data(), other.size()), 0);
    EXPECT_EQ(Content(), DibBlock(0x44, 4));
}

TEST(ClipboardTest, RefusesBlocksShorterThanAHeader) {
    ASSERT_EQ(platwin_clipboard_open(), 1);
    const std::vector<uint8_t> block = DibBlock(0x66, 0);
    EXPECT_EQ(platwin_clipboard_set_dib(nullptr, 40), 0);
    EXPECT_EQ(platwin_clipboard_set_dib(block.data(), sizeof(PlatDibHeader) - 1), 0);
    EXPECT_EQ(platwin_clipboard_set_dib(block.data(), block.size()), 1);
    EXPECT_EQ(platwin_clipboard_close(), 1);
    EXPECT_EQ(Content(), block);
}

}  // namespace
