#include "common/NameText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(NameText, ValidUtf8IsDecodedWholeControlCharactersToo) {
    EXPECT_EQ(NameText::fromBytes("launchd"), "launchd");
    EXPECT_EQ(NameText::fromBytes("Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"),
              QString::fromUtf8("Café € 😀"));
    // Control characters are text; the text renderer makes them safe to print.
    EXPECT_EQ(NameText::fromBytes("\x1b[8m\tx\n"), "\x1b[8m\tx\n");
    EXPECT_EQ(NameText::fromBytes("a\0b"s), QString::fromUtf8("a\0b", 3));
    const QString none = NameText::fromBytes("");
    EXPECT_TRUE(none.isEmpty() && !none.isNull());
}

TEST(NameText, EachByteOutsideValidUtf8ShowsAsItsHexCode) {
    const std::pair<std::string, QString> cases[] = {
        {"\xff\xfe bad", "\\xff\\xfe bad"},
        {"/Volumes/\x80", "/Volumes/\\x80"},                  // a continuation byte alone
        {"ab\xe2\x82", "ab\\xe2\\x82"},                       // cut short at the end
        {"\xe2\x82z\xe2\x82\xac", "\\xe2\\x82z\xe2\x82\xac"}, // cut short, then a whole one
        {"\xc0\xaf", "\\xc0\\xaf"},                           // an overlong '/'
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},                  // a surrogate
        {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},         // above U+10FFFF
        {"\xf5", "\\xf5"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(NameText::fromBytes(bytes), text) << text.toStdString();
    }
}

} // namespace
