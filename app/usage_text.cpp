#include "usage_text.h"

namespace tanabashigo {

const char* usageText() {
    return R"(使い方 / Usage:
  tanabashigo                  ウィンドウを開く / open the window
  tanabashigo --seed N         乱数の種を固定してウィンドウを開く（毎回同じたなばしごが出る）
                               open the window with a fixed seed (the same ladders again)
  tanabashigo --analyse [...]  ウィンドウを開かずに公平さを調べる / analyse, no window

オプション / Options:
  --analyse           理論上の着地確率を表にする（--trials を付けると実験も）
                      print the exact landing law (and an experiment with --trials)
  --rungs R           横線の本数 0〜225（既定 50） / rungs per ladder 0..225 (default 50)
  --rungs A:B[:STEP]  A 本から B 本まで STEP 本おきの公平さの表
                      the fairness table for A to B rungs, every STEP rungs
  --start S           たどり始める縦線 1〜10（既定 3） / start line 1..10 (default 3)
  --trials T          実験の回数（横線 100 本まで） / simulated trials (up to 100 rungs)
  --seed N            乱数の種 0〜4294967295 / generator seed 0..4294967295
  --threads N         実験に使うスレッド数（既定はすべてのコア）
                      worker threads (default: every core)
  --csv               CSV で出力する / machine-readable CSV output
  --chart FILE        グラフを .png か .svg のファイルに描く（本数の範囲なら公平さのグラフ）
                      draw the chart into a .png or .svg file (a range: the fairness chart)
  -h, --help          この説明を出す / show this help
  -v, --version       版を出す / show the version
)";
}

}  // namespace tanabashigo
