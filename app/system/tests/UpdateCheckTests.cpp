// The update exchange's rules: request bodies, version order, the update
// note's paragraphs and which download links are opened.

#include "UpdateCheck.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(UpdateCheck, RequestBodiesCarryTheProductAndItsTokenHash) {
    // MD5 of product + access token + "tessaly", computed apart (md5sum).
    EXPECT_EQ(updateRequestBody(0),
              QByteArray("&name=Varnu&token=09e01966a319c3f26c1ee03d6b25001b"));
    EXPECT_EQ(updateRequestBody(1),
              QByteArray("&name=en_Varnu&token=bbdc552bfabaafec69f16657ea519c82"));
    EXPECT_EQ(md5HexOf("abc"), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(UpdateCheck, VersionsCompareAsNumbers) {
    struct Case {
        const char* latest;
        bool newer;
    };
    const Case cases[] = {
        {"V2.1.3", true},
        {"V2.1.10", true},
        {"V3", true},
        {"V2.1.2.1", true},
        {"V2.1.2", false},
        {"V2.1.2.0", false},
        {"V2.1.1", false},
        {"V2.0.99", false},
        {"", false},
        {"2.1.3", false},
        {"V2.1.x", false},
        {"V2..3", false},
        {"V2.1.3 beta", false},
        {"V99999999999999999999", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isNewerVersion(kApplicationVersion, c.latest), c.newer) << c.latest;
    }
}

TEST(UpdateCheck, NoteParagraphsBecomeLines) {
    const std::pair<const char*, const char*> cases[] = {
        {"<p>Fix A</p><p>Fix B</p>", "Fix A\nFix B\n"},
        {"no paragraphs", ""},
        {"intro<p>kept <b>bold</b></p>tail", "kept <b>bold</b>\n"},
        {"<p>A</p><p>B", "A\n"},  // an unmatched opening ends the note
        {"</p><p>A</p>", "A\n"},  // a closing before any opening is skipped
        {"<p>A</p></p><p>B</p>", "A\nB\n"},
        {"<p></p>", "\n"},
        {"<p>", ""},
    };
    for (const auto& [note, text] : cases) {
        EXPECT_EQ(updateNoteText(note), text) << note;
    }
}

TEST(UpdateCheck, OnlyWebLinksAreDownloadLinks) {
    const std::pair<const char*, bool> cases[] = {
        {"https://www.example.com/v.zip", true},
        {"http://www.example.com/v.zip", true},
        {"HTTPS://www.example.com/", true},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"ftp://www.example.com/v.zip", false},
        {"https:///nohost", false},
        {"", false},
        {"/relative/path", false},
    };
    for (const auto& [url, accepted] : cases) {
        EXPECT_EQ(isDownloadLink(QUrl(url, QUrl::TolerantMode)), accepted) << url;
    }
}

}  // namespace
