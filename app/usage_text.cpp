#include "usage_text.h"

namespace tanabashigo {

const char* usageText() {
    return R"(使い方 / Usage:
  tanabashigo [ウィンドウのオプション]  実験のウィンドウを開きます / open the window
  tanabashigo --analyse [...]          ウィンドウを開かずに公平さを調べます
                                       analyse the fairness, no window
  tanabashigo --lesson [...]           授業用のウィンドウを開きます（プロジェクター向け）
                                       open the lesson window (for a projector)
  tanabashigo --theory                 「理論と実験」のウィンドウを開きます（先生向け）
                                       open the theory window (for teachers)
  tanabashigo --compare FILE [...]     --record の記録を理論の確率とくらべて表示します
                                       （ファイルをいくつも並べると、クラス全体で合わせます）
                                       compare a record file with the exact law, no window
                                       (several files: a class's records, pooled)

ウィンドウのオプション / Window options:
  --tick MS           横線を引く速さと道をたどる速さ（1 歩のミリ秒、3〜200）。
                      指定すると（3 でも）、道が着くまで次の抽選を始めず、着いた印を
                      2 秒以上見せてから次へ進みます。教室では 60 くらいが見やすい速さです。
                      指定しないときは 1 歩 3 ミリ秒で、5 秒ごとに次の抽選が始まります。
                      milliseconds per rung and per path step, 3..200; when given (even 3),
                      a trial always finishes and its landing stays 2 s on view; without
                      it, 3 ms a step and a new trial every 5 s, finished or not
  --zoom F            ウィンドウを F 倍（1〜4、1.5 なども可）の大きさで表示します
                      show the windows F times as large (1 to 4, e.g. 1.5)
  --zoom fit          画面に収まるいちばん大きな倍率で表示します（プロジェクター向け）
                      the largest size that fits the screen (for a projector)
  --record FILE       着地を 1 回ごとに FILE（CSV）へ書き足します。HELP や［初期化］で
                      印が消えても、記録は残ります
                      append every landing to FILE (CSV); kept through HELP and 初期化
  --seed N            乱数の種 0〜4294967295 を固定します（毎回同じたなばしごになります）
                      fixed generator seed 0..4294967295 (the same ladders every time)

授業用のオプション / Lesson options (with --lesson):
  --rungs R           横線の本数 0〜225 で、本数をたずねずに開きます。Enter で始まります
                      open at R rungs (0..225) without asking; Enter starts
  --start S           たどり始める縦線 1〜10（既定 3） / start line 1..10 (default 3)
  --tick MS           はじめの速さを 1 歩 MS ミリ秒にいちばん近い段階にします
                      start at the speed nearest MS milliseconds per rung
  --record FILE       着地を FILE へ書き足します（既定は利用者のデータフォルダの記録）
                      append every landing to FILE (default: a record in the user's data folder)
  --seed N            乱数の種を固定します / fixed generator seed

調べるときのオプション / Analysis options:
  --analyse           理論上の着地確率を表にします（--trials を付けると実験も）
                      print the exact landing law (and an experiment with --trials)
  --rungs R           横線の本数 0〜225（既定 50） / rungs per ladder 0..225 (default 50)
  --rungs A:B[:STEP]  A 本から B 本まで STEP 本おきに公平さを表にします
                      the fairness table for A to B rungs, every STEP rungs
  --start S           たどり始める縦線 1〜10（既定 3） / start line 1..10 (default 3)
  --all-lines         10 本すべての縦線からの確率を 10×10 の表と図にします（1 つの本数で）
                      the law of every start line as a 10x10 table and picture (one count)
  --trials T          実験の回数 / simulated trials
  --seed N            乱数の種 / generator seed
  --threads N         実験に使うスレッドの数（既定はすべてのコア）
                      worker threads (default: every core)
  --csv               CSV で出力します（--analyse と --compare）
                      machine-readable CSV output (--analyse and --compare)
  --chart FILE        グラフを .png か .svg のファイルに描きます（本数の範囲なら公平さのグラフ）
                      draw the chart into a .png or .svg file (a range: the fairness chart)
  --worksheet FILE    A4 のワークシートを .pdf に書きます。--analyse では書きこみ用の白紙
                      （1 つの本数）、--compare では記録の着地を入れたもの（1 つの本数だけの記録）
                      an A4 worksheet as .pdf: blank with --analyse (one rung count), filled
                      with the landings --compare counts (a record of one ladder)
  --experiment N      --compare でくらべる実験の番号（既定はすべてを本数ごとに）
                      the experiment --compare compares (default: all, by rung count)

  オプションはどの順にも、ファイル名の前にも後にも置けます。「--」の後はすべてファイル名です
  （「-」で始まる名前のファイルに）。
  options may stand in any order, before or after the files; after "--" every argument
  is a file name (for names that begin with "-")

  -h, --help          この説明を表示します / show this help
  -v, --version       版を表示します / show the version
)";
}

}  // namespace tanabashigo
