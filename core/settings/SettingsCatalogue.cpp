#include "core/settings/SettingsCatalogue.h"

namespace kpr5::settings {

namespace {

QString S(const char16_t *text) {
    return QString::fromUtf16(text);
}

QStringList L(std::initializer_list<const char16_t *> texts) {
    QStringList list;
    for (const char16_t *t : texts)
        list << S(t);
    return list;
}

// "from" … "to" as plain numbers.
QStringList numbers(int from, int to) {
    QStringList list;
    for (int n = from; n <= to; ++n)
        list << QString::number(n);
    return list;
}

// The number right-aligned in `width` characters with a text after it.
QString padded(int n, int width, const QString &suffix) {
    return QStringLiteral("%1").arg(n, width) + suffix;
}

QStringList series(int from, int to, int step, int width, const QString &suffix) {
    QStringList list;
    for (int n = from; n <= to; n += step)
        list << padded(n, width, suffix);
    return list;
}

const QString kSec = QStringLiteral("sec.");
const QString kByou = S(u"秒");

QStringList scanModeEn() {
    QStringList list{QStringLiteral("BUSY SCAN")};
    list << series(1, 25, 1, 2, QStringLiteral("sec. timer"));
    list << L({u"  1sec. elapse", u"  2sec. elapse", u"  3sec. elapse", u"  4sec. elapse",
               u"  5sec. elapse", u" 10sec. elapse", u" 15sec. elapse", u" 30sec. elapse",
               u"  1min. elapse", u"1.5min. elapse", u"  2min. elapse", u"  3min. elapse",
               u"  4min. elapse", u"  5min. elapse"});
    return list;
}

QStringList scanModeJa() {
    QStringList list{S(u"ﾋﾞｼﾞｰｽｷｬﾝ")};
    list << series(1, 25, 1, 2, S(u"秒(ﾀｲﾏｰｽｷｬﾝ)"));
    list << L({u"  1秒(時間指定)", u"  2秒(時間指定)", u"  3秒(時間指定)", u"  4秒(時間指定)",
               u"  5秒(時間指定)", u" 10秒(時間指定)", u" 15秒(時間指定)", u" 30秒(時間指定)",
               u"  1分(時間指定)", u"1.5分(時間指定)", u"  2分(時間指定)", u"  3分(時間指定)",
               u"  4分(時間指定)", u"  5分(時間指定)"});
    return list;
}

QStringList vfoScan() {
    QStringList list{QStringLiteral("Busy")};
    list << series(1, 25, 1, 2, QStringLiteral("SEC"));
    return list;
}

const QStringList kOffOn = L({u"OFF", u"ON"});

struct Builder {
    std::vector<SettingItem> items;
    SettingFrameId frame = SettingFrameId::Display;

    void add(Family f, int e, const char16_t *en, const char16_t *ja, QStringList optEn,
             QStringList optJa, int def, int setModeReset, int commonReset,
             bool sharesRow = false) {
        const bool fixed = optJa.isEmpty();
        if (fixed) optJa = optEn;
        Q_ASSERT(optEn.size() == optJa.size());
        items.push_back(SettingItem{f, e, S(en), S(ja), std::move(optEn), std::move(optJa), fixed,
                                    def, setModeReset, commonReset, frame, sharesRow});
    }
    // Lists that are the same in both languages but are rebuilt all the same.
    void addBoth(Family f, int e, const char16_t *en, const char16_t *ja, const QStringList &opt,
                 int def, int setModeReset, int commonReset) {
        add(f, e, en, ja, opt, opt, def, setModeReset, commonReset);
        items.back().fixed = false;
    }
};

std::vector<SettingItem> buildCatalogue() {
    using F = Family;
    using Fr = SettingFrameId;
    const int keep = -1;
    Builder b;

    b.frame = Fr::Display;
    b.addBoth(F::Display, 0, u"Language", u"Language", L({u"Japanese", u"English"}), 1, keep, keep);
    b.add(F::Display, 1, u"Illumination", u"照明設定",
          L({u"Always Lit", u" 5sec.", u"10sec.", u"15sec.", u"20sec.", u"25sec.", u"30sec.",
             u"Disable all", u"Turn out"}),
          L({u"常灯", u" 5秒", u"10秒", u"15秒", u"20秒", u"25秒", u"30秒", u"全て消灯", u"消灯"}),
          1, 1, keep);
    b.add(F::Display, 2, u"Dimmer", u"明るさ設定", numbers(1, 5), {}, 0, 0, keep);
    b.add(F::Display, 3, u"Screen contrast", u"ｺﾝﾄﾗｽﾄ設定", series(1, 10, 1, 2, QString()), {}, 7,
          7, keep);
    b.add(F::Display, 4, u"Font size", u"非操作側  表示サイズ", L({u"Small", u"Large"}),
          L({u"小", u"大"}), 0, 0, keep);
    b.add(F::Display, 5, u"Font Bold", u"フォント設定",
          L({u"Bold all", u"Op. band bold", u"Op. band thin", u"Thin all"}),
          L({u"太字", u"操作バンド太字", u"操作バンド細字", u"細字"}), 0, keep, 0);

    b.frame = Fr::Power;
    b.add(F::Power, 0, u"Auto-power-off", u"ｵｰﾄﾊﾟﾜｰｵﾌ",
          L({u"OFF", u"30 min.", u"1 hour", u"2 hrs.", u"3 hrs.", u"5 hrs.", u"8 hrs."}),
          L({u"解除", u"30分", u"1時間", u"2時間", u"3時間", u"5時間", u"8時間"}), 0, 0, keep);
    b.add(
        F::Power, 1, u"BS ratio", u"ﾊﾞｯﾃﾘｰｾｰﾌﾞ",
        L({u"Batt. save off", u"0.2 : 0.2", u"0.2 : 0.4", u"0.2 : 0.8", u"0.2 : 1.2",
           u"0.2 : 1.8"}),
        L({u"OFF", u"0.2秒:0.2秒", u"0.2秒:0.4秒", u"0.2秒:0.8秒", u"0.2秒:1.2秒", u"0.2秒:1.8秒"}),
        3, 3, keep);
    b.add(F::Power, 2, u"Battery type", u"電池の設定", L({u"Battery pack", u"Dry battery"}),
          L({u"バッテリーパック", u"乾電池"}), 0, 0, keep);

    b.frame = Fr::Transmitter;
    b.add(F::Send, 0, u"VOX", u"VOX設定", L({u"OFF", u"Internal mic", u"Option mic"}),
          L({u"OFF", u"内蔵マイク", u"外部マイク"}), 0, 0, keep);
    b.add(F::Send, 1, u"VOX LEVEL", u"VOX感度", numbers(0, 7), {}, 0, 0, keep);
    b.add(F::Send, 2, u"TOT", u"TOT設定",
          QStringList{QStringLiteral("OFF")} + series(30, 450, 30, 3, kSec),
          QStringList{S(u"無効")} + series(30, 450, 30, 3, kByou), 0, 0, keep);
    b.add(F::Send, 3, u"TOT penalty", u"TOTﾍﾟﾅﾙﾃｨ機能",
          QStringList{QStringLiteral("OFF")} + series(1, 15, 1, 2, kSec),
          QStringList{S(u"無効")} + series(1, 15, 1, 2, kByou), 0, 0, keep);
    b.add(F::Send, 4, u"BCLO", u"BCLO機能", kOffOn, {}, 0, 0, keep);
    b.add(F::Send, 5, u"Tone-burst", u"トーンコール",
          L({u"DISABLE", u"CALL", u"1000Hz", u"1450Hz", u"1750Hz", u"2100Hz"}),
          L({u"無効", u"CALL", u"1000Hz", u"1450Hz", u"1750Hz", u"2100Hz"}), 0, 0, keep);

    b.frame = Fr::Repeater;
    b.addBoth(F::Repeater, 0, u"Auto rpt. set", u"ｵｰﾄﾚﾋﾟｰﾀｰ設定", kOffOn, 1, 1, keep);
    b.addBoth(F::Repeater, 3, u"Cross Band set", u"ｸﾛｽﾊﾞﾝﾄﾞ", kOffOn, 0, 0, keep);

    b.frame = Fr::Receiver;
    b.add(F::Recv, 0, u"AM antenna", u"バーアンテナ", kOffOn, {}, 0, 0, keep);
    b.add(F::Recv, 1, u"Clk noise shift", u"クロックシフト", kOffOn, {}, 0, 0, keep);
    b.add(F::Recv, 2, u"Tone SQ pri", u"TSQ･DCS優先設定",
          L({u"Active band", u"Main band", u"Sub band"}),
          L({u"操作バンド優先", u"メイン優先", u"サブ優先"}), 0, 0, keep);
    b.add(F::Recv, 3, u"DCS operation", u"DCSタイプ設定", L({u"Nomal", u"Keep"}),
          L({u"ノーマル", u"キープ"}), 0, 0, keep);
    b.add(F::Recv, 4, u"TSF operation", u"発信器探索音設定", L({u"Always", u"Temporary stop"}),
          L({u"常時", u"一時休止"}), 0, 0, keep);
    b.add(F::Preset, 0, u"Preset mode", u"表示", L({u"Activate", u"Deactivate"}),
          L({u"表示する", u"表示しない"}), 1, 1, 0);
    b.add(F::Recv, 5, u"Receiver range", u"運用周波数限定", L({u"Wideband RX", u"Amateur Bands"}),
          L({u"全周波数", u"アマチュア限定"}), 0, 0, keep);

    b.frame = Fr::Scanning;
    b.add(F::Scan, 0, u"Scan mode", u"ｽｷｬﾝﾀｲﾌﾟ", scanModeEn(), scanModeJa(), 0, 0, keep);
    b.add(F::Scan, 1, u"Scan skip", u"スキップ設定", L({u" OFF", u" ON"}), L({u" 無効", u" 有効"}),
          0, 1, keep);
    b.add(F::Scan, 2, u"Pri interval", u"ﾌﾟﾗｲｵﾘﾃｨ待受時間", series(5, 60, 5, 2, kSec),
          series(5, 60, 5, 2, kByou), 0, 0, keep);
    b.add(F::Scan, 3, u"Pri duration", u"ﾌﾟﾗｲｵﾘﾃｨ停止時間",
          QStringList{QStringLiteral("BUSY")} + series(1, 25, 1, 2, kSec),
          QStringList{S(u"ﾋﾞｼﾞｰ")} + series(1, 25, 1, 2, kByou), 0, 0, keep);
    b.add(F::Scan, 4, u"VFO SCAN(Main)", u"VFOｽｷｬﾝ(Main)", vfoScan(), {}, 0, 0, keep);
    b.add(F::Scan, 5, u"VFO SCAN(Sub)", u"VFOｽｷｬﾝ(Sub)", vfoScan(), {}, 0, 0, keep);
    b.add(F::Scan, 6, u"Memory SCAN(Main)", u"ﾒﾓﾘｰｽｷｬﾝ(Main)", vfoScan(), {}, 0, 0, keep);
    b.add(F::Scan, 7, u"Memory SCAN(Sub)", u"ﾒﾓﾘｰｽｷｬﾝ(Sub)", vfoScan(), {}, 0, 0, keep);
    b.add(F::Scan, 8, u"Scan lamp", u"ｽｷｬﾝ照明設定", kOffOn, {}, 0, 0, keep);
    b.add(F::Scan, 9, u"Scan data output", u"ｽｷｬﾝﾃﾞｰﾀ出力", kOffOn, {}, 0, 0, keep);

    b.frame = Fr::Sound;
    b.add(F::Sound, 0, u"Beep sound Lv.", u"ﾋﾞｰﾌﾟ音量設定", L({u"OFF", u"1", u"2", u"3", u"4"}), {},
          2, 2, keep);
    b.add(F::Sound, 1, u"Pager", u"ベル機能設定",
          L({u"OFF", u"Main-band only", u"Sub-band only", u"Either band"}),
          L({u"無効", u"ﾒｲﾝ受信時", u"ｻﾌﾞ受信時", u"どちらか受信時"}), 0, 0, keep);
    b.add(F::Sound, 2, u"End-beep", u"エンドピー音", kOffOn, {}, 0, 0, keep);

    b.frame = Fr::Keys;
    b.add(F::Key, 0, u"Key lock mode", u"ｷｰﾛｯｸﾓｰﾄﾞ",
          L({u"PTT", u"17-key pad", u"Dials", u"PTT + 17-key", u"PTT + dials", u"17-key + dials",
             u"All"}),
          L({u"PTTｷｰのみ", u"ｷｰﾎﾞｰﾄﾞのみ", u"ﾀﾞｲﾔﾙのみ", u"PTT+ｷｰﾎﾞｰﾄﾞ", u"PTT+ﾀﾞｲﾔﾙ",
             u"ｷｰﾎﾞｰﾄﾞ+ﾀﾞｲﾔﾙ", u"全て"}),
          5, 5, keep);
    b.add(F::Key, 1, u"Moni key mode", u"MONIキー設定", L({u"Monitor", u"Mute"}),
          L({u"ﾓﾆﾀｰ", u"ﾐｭｰﾄ"}), 0, 0, keep);
    b.add(F::Key, 2, u"Moni operation", u"MONIキー動作", L({u"Push", u"Hold"}),
          L({u"ﾌﾟｯｼｭ", u"ﾎｰﾙﾄﾞ"}), 0, 0, keep);
    b.add(F::Key, 3, u"Moni active on", u"MONIキー操作対象",
          L({u"Main-band only", u"Sub-band only", u"operating-band", u"Both bands"}),
          L({u"ﾒｲﾝﾊﾞﾝﾄﾞ", u"ｻﾌﾞﾊﾞﾝﾄﾞ", u"操作ﾊﾞﾝﾄﾞ", u"両ﾊﾞﾝﾄﾞ"}), 0, 0, keep);
    b.add(F::Key, 4, u"Mainband dial", u"ダイヤル左右", L({u"L:MAIN / SUB:R", u"L:SUB / MAIN:R"}),
          L({u"左:ﾒｲﾝ  ｻﾌﾞ:右", u"左:ｻﾌﾞ  ﾒｲﾝ:右"}), 0, 0, keep);
    // The gap in these four texts is one ideographic space (U+3000).
    b.add(F::Key, 5, u"Dial Ring", u"ダイヤル上下",
          L({u"Freq:Top\u3000Vol:Lower", u"Freq:Lower\u3000Vol:Top", u"Squelch:Top\u3000Freq:Lower",
             u"Squelch:Lower\u3000Freq:Top"}),
          {}, 0, 0, keep);
    b.add(F::Key, 6, u"Wild key assign", u"WILDｷｰ設定", keyFunctionNames(English),
          keyFunctionNames(Japanese), 0, 0, keep);
    b.add(F::Key, 7, u"Lamp key assign", u"LAMPｷｰ設定", keyFunctionNames(English),
          keyFunctionNames(Japanese), 1, 1, 1);
    b.add(F::Key, 8, u"Band transition", u"バンド移動", L({u"NO", u"YES"}),
          L({u"移動しない", u"移動する"}), 0, 0, keep);
    b.add(F::Key, 9, u"Key lock Type", u"キーロック状態", L({u"OFF", u"LOCK1", u"LOCK2"}), {}, 0, 0,
          keep);
    b.add(F::Key, 10, u"Op. band", u"対象操作バンド", L({u"Main", u"Sub"}), {}, 0, 0, keep);
    b.add(F::Key, 11, u"Moni key TX", u"MONIキー特殊機能",
          L({u"DISABLE", u"Sub-band", u"Main-band L pow.", u"Main-band H pow."}),
          L({u"無効", u"ｻﾌﾞﾊﾞﾝﾄﾞ", u"ﾒｲﾝﾊﾞﾝﾄﾞﾛｰﾊﾟﾜｰ", u"ﾒｲﾝﾊﾞﾝﾄﾞﾊｲﾊﾟﾜｰ"}), 0, 0, keep);
    b.add(F::Key, 12, u"Set Mode Exit", u"セットモード復帰時間",
          L({u"Manual", u"5SEC", u"10SEC", u"15SEC", u"30SEC", u"1MIN", u"1.5MIN", u"2MIN", u"3MIN",
             u"4MIN", u"5MIN"}),
          L({u"手動", u"5秒", u"10秒", u"15秒", u"30秒", u"1分", u"1.5分", u"2分", u"3分", u"4分",
             u"5分"}),
          0, 0, keep);

    b.frame = Fr::Memory;
    b.add(F::Mem, 0, u"Write Protect", u"Write Protect", L({u"OFF", u"ON", u"一時解除"}), {}, 0, 0,
          0);

    b.frame = Fr::BugDetector;
    b.add(F::Toutyou, 0, u"Detect mode", u"探索ﾓｰﾄﾞの種類", L({u"Silent", u"Sound"}),
          L({u"サイレント", u"サウンド"}), 0, 0, keep);
    b.add(F::Toutyou, 1, u"Sensitivity", u"検出感度", numbers(1, 5), {}, 2, 2, keep);

    b.frame = Fr::ChannelDisplay;
    b.add(F::Combo1, 0, u"CH.Display Mode", u"ﾁｬﾝﾈﾙ表示ﾓｰﾄﾞ", kOffOn, {}, 0, 0, keep);

    b.frame = Fr::CommonLeft;
    b.add(F::Display, 6, u"Vol display type", u"音量表示形式",
          L({u"Normal", u"Center(Active)", u"Center(Non act.)"}),
          L({u"右端に小さく", u"中心(同バンド)", u"中心(逆バンド)"}), 0, keep, 0);
    b.add(F::Display, 7, u"Display Type", u"画面表示形式", L({u"Dual band", u"Single band"}),
          L({u"ﾃﾞｭｱﾙﾊﾞﾝﾄﾞ表示", u"ｼﾝｸﾞﾙﾊﾞﾝﾄﾞ表示"}), 0, keep, 0);
    b.add(F::Display, 8, u"S METER", u"Ｓﾒｰﾀの種類", L({u"Normal", u"Simple"}),
          L({u"ノーマル", u"シンプル"}), 1, 1, 0);
    b.add(F::Display, 9, u"CH scope Display", u"チャンネル\u3000スコープ表示", kOffOn, {}, 0, keep,
          0);
    b.add(F::Display, 10, u"CH scope Display", u"チャンネル\u3000スコープ表示", kOffOn, {}, 0, keep,
          0, true);
    b.add(F::Display, 11, u"Bank No.(Main)", u"バンク番号(Main)", numbers(0, 56), {}, 0, keep, 0);
    b.add(F::Display, 12, u"Bank No.(Sub)", u"バンク番号(Sub)", numbers(0, 56), {}, 0, keep, 0);
    b.add(F::Display, 13, u"TV CH", u"テレビのCH", numbers(1, 62), {}, 0, keep, 0);
    b.add(F::Display, 14, u"Preset band(Main)", u"プリセットバンド(Main)", L({u"UHF", u"1200MHz"}),
          {}, 0, keep, 0);
    b.add(F::Display, 15, u"Preset band(Sub)", u"プリセットバンド(Sub)", L({u"AM", u"FM", u"TV"}),
          {}, 0, keep, 0);

    b.frame = Fr::CommonRight;
    b.add(F::Send, 6, u"Modulation Mode", u"電波型式", L({u"MANUAL", u"AUTO"}), {}, 0, keep, 0);
    b.add(F::Send, 7, u"Freq Step", u"周波数ステップ", L({u"MANUAL", u"AUTO"}), {}, 0, keep, 0);
    b.addBoth(F::Send, 8, u"ATT", u"アッテネーター", L({u"OFF", u"1", u"2", u"3", u"4"}), 0, keep,
              0);
    b.add(F::Send, 9, u"Full-duplex", u"同時送受信設定", L({u"Prohibited", u"Permitted"}),
          L({u"禁止", u"許可"}), 0, keep, 0);
    const QStringList powerEn = L({u"Low Power1", u"Low Power2", u"Middle Power", u"High Power"});
    const QStringList powerJa = L({u"ﾛｰﾊﾟﾜｰ1", u"ﾛｰﾊﾟﾜｰ2", u"ﾐﾄﾞﾙﾊﾟﾜｰ", u"ﾊｲﾊﾟﾜｰ"});
    b.add(F::Send, 10, u"144MHz TX Power", u"144MHz帯送信出力", powerEn, powerJa, 0, keep, 0);
    b.add(F::Send, 11, u"430MHz TX Power", u"430MHz帯送信出力", powerEn, powerJa, 0, keep, 0);
    b.add(F::Send, 12, u"1200MHz TX Power", u"1200MHz帯送信出力", L({u"LOW POWER", u"High Power"}),
          L({u"ﾛｰﾊﾟﾜｰ", u"ﾊｲﾊﾟﾜｰ"}), 0, keep, 0);
    b.add(F::Sound, 3, u"Mic Gain", u"マイクゲイン", numbers(1, 4), {}, 0, keep, 0);
    b.add(F::Sound, 4, u"VOL(Main)", u"音量(Main)", numbers(0, 20), {}, 0, keep, 0);
    b.add(F::Sound, 5, u"VOL(Sub)", u"音量(Sub)", numbers(0, 20), {}, 0, keep, 0);
    b.add(F::Recv, 6, u"Squelch(Main)", u"スケルチ(Main)", numbers(0, 9), {}, 0, keep, 0);
    b.add(F::Recv, 7, u"Squelch(Sub)", u"スケルチ(Sub)", numbers(0, 9), {}, 0, keep, 0);

    // Stored in the data file but shown on no page.
    b.frame = Fr::None;
    b.add(F::Repeater, 1, u"", u"", {}, {}, 0, 0, keep);
    b.add(F::Repeater, 2, u"", u"", {}, {}, 0, 0, keep);
    return b.items;
}

} // namespace

QString familyName(Family family) {
    switch (family) {
    case Family::Display:
        return QStringLiteral("Set_Mode_Display");
    case Family::Power:
        return QStringLiteral("Set_Mode_Power");
    case Family::Send:
        return QStringLiteral("Set_Mode_Send");
    case Family::Sound:
        return QStringLiteral("Set_Mode_Sound");
    case Family::Recv:
        return QStringLiteral("Set_Mode_Recv");
    case Family::Scan:
        return QStringLiteral("Set_Mode_Scan");
    case Family::Repeater:
        return QStringLiteral("Set_Mode_Repeater");
    case Family::Key:
        return QStringLiteral("Set_Mode_Key");
    case Family::Toutyou:
        return QStringLiteral("Set_Mode_Toutyou");
    case Family::Preset:
        return QStringLiteral("Set_Mode_Preset");
    case Family::Mem:
        return QStringLiteral("Set_Mode_Mem");
    case Family::Combo1:
        return QStringLiteral("Combo1");
    }
    return QString();
}

int familySize(Family family) {
    switch (family) {
    case Family::Display:
        return 16;
    case Family::Power:
        return 3;
    case Family::Send:
        return 13;
    case Family::Sound:
        return 6;
    case Family::Recv:
        return 8;
    case Family::Scan:
        return 10;
    case Family::Repeater:
        return 4;
    case Family::Key:
        return 13;
    case Family::Toutyou:
        return 2;
    case Family::Preset:
    case Family::Mem:
    case Family::Combo1:
        return 1;
    }
    return 0;
}

QString controlName(Family family, int element) {
    if (family == Family::Preset || family == Family::Combo1) return familyName(family);
    return QStringLiteral("%1(%2)").arg(familyName(family)).arg(element);
}

const std::vector<SettingItem> &catalogue() {
    static const std::vector<SettingItem> items = buildCatalogue();
    return items;
}

const SettingItem *item(Family family, int element) {
    for (const SettingItem &it : catalogue()) {
        if (it.family == family && it.element == element) return &it;
    }
    return nullptr;
}

QString frameName(SettingFrameId frame) {
    switch (frame) {
    case SettingFrameId::Display:
        return QStringLiteral("Frame8");
    case SettingFrameId::Power:
        return QStringLiteral("Frame9");
    case SettingFrameId::Sound:
        return QStringLiteral("Frame10");
    case SettingFrameId::Transmitter:
        return QStringLiteral("Frame11");
    case SettingFrameId::Repeater:
        return QStringLiteral("Frame12");
    case SettingFrameId::Receiver:
        return QStringLiteral("Frame14");
    case SettingFrameId::Memory:
        return QStringLiteral("Frame16");
    case SettingFrameId::Scanning:
        return QStringLiteral("Frame17");
    case SettingFrameId::BugDetector:
        return QStringLiteral("Frame18");
    case SettingFrameId::Keys:
        return QStringLiteral("Frame19");
    case SettingFrameId::ChannelDisplay:
        return QStringLiteral("Frame1");
    case SettingFrameId::CommonLeft:
    case SettingFrameId::CommonRight:
        return QStringLiteral("setting");
    case SettingFrameId::None:
        break;
    }
    return QString();
}

QString frameCaption(SettingFrameId frame, int language) {
    const bool ja = language == Japanese;
    switch (frame) {
    case SettingFrameId::Display:
        return ja ? S(u"≪表示設定≫") : QStringLiteral("<SCREEN DISPLAY>");
    case SettingFrameId::Power:
        return ja ? S(u"≪電源設定≫") : QStringLiteral("<POWER & BATT.>");
    case SettingFrameId::Sound:
        return ja ? S(u"≪音設定≫") : QStringLiteral("<SOUND>");
    case SettingFrameId::Transmitter:
        return ja ? S(u"≪送信設定≫") : QStringLiteral("<TRANSMITTER>");
    case SettingFrameId::Repeater:
        return ja ? S(u"≪レピーター設定≫") : QStringLiteral("<REPEATER>");
    case SettingFrameId::Receiver:
        return ja ? S(u"≪受信設定≫") : QStringLiteral("<RECEIVER>");
    case SettingFrameId::Memory:
        return QStringLiteral("MEMORY");
    case SettingFrameId::Scanning:
        return ja ? S(u"≪ｽｷｬﾝ設定≫") : QStringLiteral("<SCANNING>");
    case SettingFrameId::BugDetector:
        return ja ? S(u"≪盗聴器発見≫") : QStringLiteral("<BUG DETECTOR>");
    case SettingFrameId::Keys:
        return ja ? S(u"≪キー操作設定≫") : QStringLiteral("<KEY ASSIGNMENT>");
    case SettingFrameId::ChannelDisplay:
        return ja ? S(u"ﾁｬﾝﾈﾙ表示ﾓｰﾄﾞ") : QStringLiteral("CH.Display Mode");
    case SettingFrameId::CommonLeft:
    case SettingFrameId::CommonRight:
        return settingFrameCaption();
    case SettingFrameId::None:
        break;
    }
    return QString();
}

QString labelFamily(SettingFrameId frame) {
    switch (frame) {
    case SettingFrameId::Display:
        return QStringLiteral("Label12");
    case SettingFrameId::Power:
        return QStringLiteral("Label13");
    case SettingFrameId::Sound:
        return QStringLiteral("Label15");
    case SettingFrameId::Transmitter:
        return QStringLiteral("Label27");
    case SettingFrameId::Repeater:
        return QStringLiteral("Label20");
    case SettingFrameId::Receiver:
        return QStringLiteral("Label24");
    case SettingFrameId::Scanning:
        return QStringLiteral("Label16");
    case SettingFrameId::BugDetector:
        return QStringLiteral("Label60");
    case SettingFrameId::Keys:
        return QStringLiteral("Label22");
    case SettingFrameId::CommonLeft:
        return QStringLiteral("Label23");
    case SettingFrameId::CommonRight:
        return QStringLiteral("Label14");
    case SettingFrameId::Memory:
        return QStringLiteral("Label25");
    case SettingFrameId::ChannelDisplay:
        return QStringLiteral("Label19");
    case SettingFrameId::None:
        break;
    }
    return QString();
}

const QStringList &keyFunctionNames(int language) {
    static const QStringList en = L({
        u"Language",
        u"Illumination",
        u"Dimmer",
        u"Screen contrast",
        u"Font size",
        u"Font Bold",
        u"Opening string",
        u"Auto-power-off",
        u"BS ratio",
        u"Battery type",
        u"Beep Sound Lv.",
        u"Pager",
        u"End-beep",
        u"VOX",
        u"TOT",
        u"TOT penalty",
        u"BCLO",
        u"Tone-burst",
        u"Full-duplex",
        u"Auto rpt. set",
        u"Auto-dialer",
        u"WAIT timing",
        u"First-digit time",
        u"DTMF burst time",
        u"DTMF pause time",
        u"AM antenna",
        u"Clk noise shift",
        u"Tone SQ pri",
        u"DCS operation",
        u"TSF operation",
        u"Receiver range",
        u"Preset mode",
        u"Bank-link",
        u"Overwrite",
        u"Scan mode",
        u"Scan skip",
        u"Pri interval",
        u"Pri duration",
        u"Activate",
        u"Detect mode",
        u"Sensitivity",
        u"Key lock mode",
        u"Moni key mode",
        u"Moni operation",
        u"Moni active on",
        u"Mainband dial",
        u"Dial ring",
        u"Wild key assign",
        u"Lamp key assign",
        u"Band transition",
        u"Set mode exit",
    });
    static const QStringList ja = L({
        u"Language",
        u"照明設定",
        u"明るさ設定",
        u"コントラスト設定",
        u"非操作側表示サイズ",
        u"フォント設定",
        u"ｵｰﾌﾟﾆﾝｸﾞﾒｯｾｰｼﾞ",
        u"ｵｰﾄﾊﾟﾜｰｵﾌ",
        u"ﾊﾞｯﾃﾘｰｾｰﾌﾞ",
        u"電池の設定",
        u"ビープ音量設定",
        u"ベル機能設定",
        u"エンドピー音",
        u"VOX設定",
        u"TOT設定",
        u"TOTペナルティ機能",
        u"BCLO機能",
        u"トーンコール",
        u"同時送受信設定",
        u"ｵｰﾄﾚﾋﾟｰﾀｰ設定",
        u"DTMFｵｰﾄﾀﾞｲﾔﾗｰ",
        u"DTMF WAIT時間",
        u"DTMF一桁目ﾊﾞｰｽﾄ",
        u"DTMFﾊﾞｰｽﾄ時間",
        u"DTMFﾎﾟｰｽﾞ時間",
        u"バーアンテナ",
        u"クロックシフト",
        u"TSQ･DCS優先設定",
        u"DCSタイプ設定",
        u"発信器探索音設定",
        u"運用周波数限定",
        u"ﾌﾟﾘｾｯﾄﾓｰﾄﾞ設定",
        u"ﾘﾝｸ設定",
        u"ライトプロテクト",
        u"スキャンタイプ",
        u"スキップ設定",
        u"ﾌﾟﾗｲｵﾘﾃｨ待受時間",
        u"ﾌﾟﾗｲｵﾘﾃｨ停止時間",
        u"盗聴器発見機能",
        u"探索ﾓｰﾄﾞの種類",
        u"検出感度",
        u"キーロックモード",
        u"MONIキー設定",
        u"MONIキー動作",
        u"MONIキー操作対象",
        u"ダイヤル左右",
        u"ダイヤル上下",
        u"WILDｷｰ設定",
        u"LAMPｷｰ設定",
        u"バンド移動",
        u"セットモード復帰時間",
    });
    return language == Japanese ? ja : en;
}

const std::array<quint8, kKeyFunctionCount> &keyFunctionCodes() {
    static const std::array<quint8, kKeyFunctionCount> codes = {
        0x82, 0x15, 0x8A, 0xBC, 0xCA, 0xDA, 0xF1, 0x19, 0x1A, 0xC3, 0x1D, 0x1E, 0xB2,
        0x83, 0x87, 0xA6, 0xA5, 0x94, 0xF0, 0xB4, 0x97, 0x98, 0x99, 0x9A, 0xED, 0x0B,
        0xA0, 0xB6, 0xC7, 0x86, 0xD4, 0xDF, 0xBA, 0x1C, 0x66, 0x33, 0x78, 0x67, 0x2E,
        0x2F, 0x18, 0xC5, 0x14, 0x13, 0xDB, 0x9D, 0x9E, 0x70, 0x6E, 0x30, 0x68,
    };
    return codes;
}

int keyFunctionPosition(quint8 code) {
    const auto &codes = keyFunctionCodes();
    for (int i = 0; i < kKeyFunctionCount; ++i) {
        if (codes[size_t(i)] == code) return i;
    }
    return -1;
}

QString openingSlideCaption(int language) {
    return language == Japanese ? S(u"オープニングスライド動作") : QStringLiteral("Opening Slide");
}

QString settingFrameCaption() {
    return QStringLiteral("Setting");
}

} // namespace kpr5::settings
