#pragma once

#include <array>
#include <string_view>

namespace tanabashigo::texts {

// What the experiment and help windows say, in UTF-8, for every front end. The blanks in
// them are ideographic spaces (U+3000) and belong to the text.

inline constexpr std::string_view kMainTitle = " たなばしご";
inline constexpr std::string_view kHeading = "た　　な　　ば　　し　　ご";
inline constexpr std::string_view kStart = "たなばしご作成・抽選の開始";
inline constexpr std::string_view kDraw = "抽選";
inline constexpr std::string_view kQuit = "終了";
inline constexpr std::string_view kInitialise = "初期化";
inline constexpr std::string_view kStop = "停　　　　止";
inline constexpr std::string_view kHelp = "HELP";

inline constexpr std::string_view kPrompt = "10以上50以下の整数を入力してください．．．";
inline constexpr std::string_view kPromptTitle = " たなば横線本数の設定";
inline constexpr std::string_view kPromptDefault = "50";
inline constexpr std::string_view kQuitQuestion = "終了していいですか？";
inline constexpr std::string_view kQuitTitle = "たなばしご";
inline constexpr std::string_view kCancelTitle = "確認";

inline constexpr std::string_view kHelpTitle = " たなばしご＿ヘルプ（設問と操作方法）";
inline constexpr std::string_view kClose = "閉じる";

/// The help text, one entry per printed line in print order; lines 1 and 6 are empty. The
/// text lines are indented by eight spaces, the headings by one; line 9 continues the
/// sentence of line 8 and is one space less indented.
inline constexpr std::array<std::string_view, 12> kHelpLines{
    "",
    "　【問　　題】",
    "　　　　　　　　みなさんは、抽選に「たなばしご」を使うことがありますか。",
    "　　　　　　　　ところで、この「たなばしご」は、どこをひいてもほんとうに平等なのでしょうか。",
    "　　　　　　　　もし、平等でないとしたらどんなことが言えるのでしょうか。",
    "",
    "　【操作方法】",
    "　　　　　　　　たなば横線本数設定のウィンドウで、たなばしごの横線の本数を整数で入力し",
    "　　　　　　　［ＯＫ］ボタンをクリックします。",
    "　　　　　　　　［たなばしご作成・抽選の開始］ボタンをクリックすると、実験が開始されます。",
    "　　　　　　　　［停止］ボタンをクリックすると、たなばしご作成・抽選が止まります。",
    "　　　　　　　　［初期化］ボタンをクリックすると、始めから実験をやり直せます。",
};

}  // namespace tanabashigo::texts
