#include "help_text.h"

namespace tanabashigo {

namespace {

/// One help line: the given number of ideographic spaces (U+3000), then the text.
QString indented(int ideographicSpaces, const char16_t* text) {
    return QString(ideographicSpaces, QChar(0x3000)) + QString::fromUtf16(text);
}

}  // namespace

const QStringList& helpLines() {
    // The text lines are indented by eight spaces, the headings by one; line 9 continues the
    // sentence of line 8 and is one space less indented.
    static const QStringList lines = {
        QString(),
        indented(1, u"【問\u3000\u3000題】"),
        indented(8, u"みなさんは、抽選に「たなばしご」を使うことがありますか。"),
        indented(8,
                 u"ところで、この「たなばしご」は、どこをひいてもほんとうに平等なのでしょうか。"),
        indented(8, u"もし、平等でないとしたらどんなことが言えるのでしょうか。"),
        QString(),
        indented(1, u"【操作方法】"),
        indented(8, u"たなば横線本数設定のウィンドウで、たなばしごの横線の本数を整数で入力し"),
        indented(7, u"［ＯＫ］ボタンをクリックします。"),
        indented(8, u"［たなばしご作成・抽選の開始］ボタンをクリックすると、実験が開始されます。"),
        indented(8, u"［停止］ボタンをクリックすると、たなばしご作成・抽選が止まります。"),
        indented(8, u"［初期化］ボタンをクリックすると、始めから実験をやり直せます。"),
    };
    return lines;
}

}  // namespace tanabashigo
