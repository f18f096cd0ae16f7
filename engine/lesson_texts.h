#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace tanabashigo::texts {

// What the lesson says of itself in its help, in UTF-8, for the lesson window and the page's
// 授業モード alike; a line names only controls the edition showing it has.

/// The editions a help line belongs to.
enum LessonEdition : unsigned { kLessonWindow = 1, kLessonPage = 2, kBothLessons = 3 };

struct LessonHelpLine {
    std::string_view text;
    unsigned editions = kBothLessons;
};

inline constexpr std::string_view kLessonHelpTitle = "たなばしご　授業用のヘルプ";

/// The names of the ways to find each trial's start line, in the order of StartLineChoice.
inline constexpr std::array<std::string_view, 3> kStartLineChoices{"いつも同じ線", "順番に（1→10）",
                                                                   "でたらめに"};

inline constexpr std::array<LessonHelpLine, 23> kLessonHelp{{
    {"【問題】"},
    {"「たなばしご」は、どこをひいてもほんとうに平等なのでしょうか。"},
    {"【進め方】"},
    {"はじめに、どの列にいちばん多く着くと思うかクラスで手をあげ、列ごとの人数を − と ＋ で"
     "入れます（予想）。最初の回が始まると予想は変えられず、実験が終わると結果の上に出ます。"},
    {"横線の本数とスタートの線を決めて［開始］を押すと、たなばしごを作り、線をたどって、"
     "着いた列に印を積みます。"},
    {"どれかの列の印が 20 個をこえたら、実験は終わりです。"},
    {"【キー】"},
    {"Enter：開始・再開　　Space：一時停止・再開　　→：1段ずつ"},
    {"Ctrl+T：理論と実験　　F11：全画面（Esc でもどります）", kLessonWindow},
    {"数の欄やボタンを選んでいる間は、そのキーはその欄やボタンがつかいます。"},
    {"質問やヘルプが出ている間、実験は止まって待ちます。"},
    {"【ボタン】"},
    {"［一時停止］止めている間、画面はそのまま。「次はどっち？」と聞くときに。"},
    {"［1段ずつ］横線を 1 本、または線を 1 段だけ進めて止まります。"},
    {"［停止］いまの回をやめます。次の［開始］は新しい回から。", kLessonPage},
    {"［速さ］ゆっくり〜はやい。動いている間も変えられます。"},
    {"［横線の本数］0〜225 本　［スタートの線］1〜10 本目"},
    {"［線の決め方］いつも同じ線・順番に（1→10）・でたらめに。毎回スタートの線を変えると、"
     "理論と実験の「どこをひいても」の図を、10 本の線の実験でうめられます。"},
    {"［線と印の色］赤・青・オレンジ。青とオレンジは、色の見え方がちがっても黒い横線や背景と"
     "見分けやすい色です。［着地の音］着地のたびに音を鳴らします。どちらも次も同じです。"},
    {"［プロジェクター用（静か）］いちばんゆっくり、音なしで、操作パネルをたたみます。"
     "［操作］で元にもどります。"},
    {"［初期化］印をすべて消して、はじめからにします。印があるときは、先に聞きます。"},
    {"［理論と実験］同じ本数とスタートの線で、理論の確率と実験の記録をくらべます。"},
    {"［全画面］プロジェクターに大きく映します。［終了］授業用を閉じます。", kLessonWindow},
}};

/// The help lines `edition` shows, in order.
inline std::vector<std::string_view> lessonHelpLines(LessonEdition edition) {
    std::vector<std::string_view> lines;
    for (const LessonHelpLine& line : kLessonHelp) {
        if ((line.editions & edition) != 0) {
            lines.push_back(line.text);
        }
    }
    return lines;
}

}  // namespace tanabashigo::texts
