#pragma once

// Every text the program shows. The sources are UTF-8; the window layer is compiled with
// -fexec-charset=CP932, so these literals are Shift-JIS bytes for the "A" functions.

#include "view/view_texts.h"

namespace text {

constexpr char kMainClass[] = "Zovrel";
constexpr char kCaption[] = "Zovrel ver.0.00 beta";
constexpr char kFileOpenError[] = "file open err!";
constexpr char kConfirm[] = "確認";
constexpr char kQuitQuestion[] = "変更を反映せずに終了します。よろしいですか？";
constexpr char kCompleteQuestion[] = "編集を完了し、JWWに戻ります。よろしいですか？";
constexpr char kCompleteButton[] = "完了+JWWに送信";
constexpr char kBasePointButton[] = "基点変更";
constexpr char kKeepAttributes[] = "属性・文字も複写";
constexpr char kLastValuesButton[] = "前回値";
constexpr char kPickHint[] = "右クリックで頂点、原点に吸着します。";
constexpr char kScaleDialogClass[] = "ZovrelScaleDialog";
constexpr char kScaleDialogLabel[] = "画面倍率　1 /";

constexpr const char* kRowLabels[6] = {"水平移動", "垂直移動", "回転角",
                                       "水平倍率", "垂直倍率", "複製数"};
constexpr char kMillimetres[] = "mm";
constexpr char kMetres[] = "m";
constexpr char kDegrees[] = "度";
constexpr char kRadians[] = "rad";

}  // namespace text

namespace text {

// Shown beside the hint in the status bar.
constexpr char kCopiesClamped[] = "複製数は100000個までに制限されます。";
constexpr char kPreviewPartialBefore[] = "表示は最初の";
constexpr char kPreviewPartialAfter[] = "個のみ（描画時間の上限）";
// The selection's records that the copies leave out: "文字3個、寸法値2個は複写されません…".
constexpr char kLeftOutCount[] = "個";
// Between the items of a list in the status strip.
constexpr char kListJoin[] = "、";
constexpr char kLeftOutNotKept[] = "は複写されません（「属性・文字も複写」で複写）";
constexpr char kLeftOutNever[] = "は複写できません";
constexpr char kLeftOutTurned[] = "は回転・拡大縮小する複写には入りません";
// The kinds by their tags; a tag not known here is shown as it is.
struct RecordName {
    const char* tag;
    const char* name;
};
constexpr RecordName kRecordNames[] = {
    {"ch", "文字"},       {"cv", "縦書き文字"}, {"cs", "寸法値"},     {"cr", "半径寸法値"},
    {"co", "直径寸法値"}, {"cp", "角度寸法値"}, {"ct", "累進寸法値"}, {"sl", "ソリッド"},
    {"pt", "点マーカー"}, {"msg", "寸法"},      {"BL", "ブロック"},   {"sc", "円ソリッド"},
    {"se", "円ソリッド"}, {"so", "円ソリッド"}, {"sg", "円ソリッド"}, {"ck", "日影データ"},
    {"cz", "2.5Dデータ"}, {"c2", "2.5Dデータ"},
};
// What the completion would write now: "出力 20 個 / 140 要素".
constexpr char kOutputBefore[] = "出力 ";
constexpr char kOutputMiddle[] = " 個 / ";
constexpr char kOutputAfter[] = " 要素";
// A large output's size after it: "出力 20 個 / 20000000 要素（約 1.1 GB）".
constexpr char kOutputSizeBefore[] = "（約 ";
constexpr char kOutputSizeAfter[] = "）";
// The completion's second question before a write of more than a gigabyte.
constexpr char kLargeWriteBefore[] = "書き込むデータは約 ";
constexpr char kLargeWriteAfter[] =
    " になります。\nJWWで読み込むのに時間がかかることがあります。書き込みますか？";
// Where the completion would refuse to write.
constexpr char kOutputNotWritable[] = "出力不可（無限大の数値）";

// The completion could not write the result.
constexpr char kWriteFailedCaption[] = "Zovrel";
constexpr char kWriteFailed[] = "結果をJWC_TEMP.TXTに書き込めませんでした。";
constexpr char kWriteKept[] =
    "JWC_TEMP."
    "TXTは元のままです。パラメータを変更するか、原因を取り除いてから再度送信してください。";
constexpr char kWhyReadOnly[] = "JWC_TEMP.TXTが読み取り専用になっています。";
constexpr char kWhyNotAFile[] = "JWC_TEMP.TXTがファイルではありません（フォルダなど）。";
constexpr char kWhyCannotCreate[] = "フォルダに一時ファイルを作成できません。";
constexpr char kWhyWriteFailed[] = "書き込みに失敗しました（ディスクの空き容量不足など）。";
constexpr char kWhyCannotReplace[] =
    "JWC_TEMP.TXTを置き換えられません（他のプログラムが使用中など）。";
constexpr char kWhyNotRepresentable[] = "書き込めない大きさの数値（無限大）が生じます。";
constexpr char kWhyUnknown[] = "原因は分かりません。";

}  // namespace text

namespace text {

// How the rows' texts were read. The row's label goes before each.
// A text of which only the start counted: "水平移動は 12 と読みました（…）".
constexpr char kReadInPartAs[] = "は ";
constexpr char kReadInPartAfter[] = " と読みました（数でない部分は無視）";
// A text that is not a finite number: nothing is written meanwhile.
constexpr char kNotFiniteAfter[] = "の値が数になりません（0で割ったか、大きすぎます）";
constexpr char kOutputRowNotFiniteBefore[] = "出力不可（";
constexpr char kOutputRowNotFiniteAfter[] = "の値）";
// Typed into a row whose slider is at 0 %.
constexpr char kSliderAtZeroAfter[] = "はスライダーを動かすまで使われません（0%）";
// The completion while a row is not a finite number.
constexpr char kNotSentAfter[] = "の値が数になりません（0で割ったか、大きすぎる数です）。";
constexpr char kNotSentFix[] = "値を直してから、もう一度送信してください。";
constexpr char kNotSentKept[] = "JWC_TEMP.TXTは元のままです。";

// Started without the host: what the drafter can do instead.
constexpr char kFileOpenHelp[] =
    "JWC_TEMP.TXT が開けません。\n\n"
    "Zovrel は JWW の\n"
    "「その他」→「外部変形」で\n"
    "ZOVREL.BAT を選んで\n"
    "起動します。\n\n"
    "見本の図形は\n"
    "sample\\zovrel.exe\n"
    "で開けます。";

// The base point: shown in the status bar, typed as "X, Y" in its dialog.
constexpr char kBaseLabel[] = "基点 ";
constexpr char kBaseDialogClass[] = "ZovrelBaseDialog";
constexpr char kBaseDialogLabel[] = "基点　X, Y";
// The dialog's title while what was typed is no base point.
constexpr char kBaseWrong[] = "「X, Y」の形で入力してください（例：100, -50）";

}  // namespace text
