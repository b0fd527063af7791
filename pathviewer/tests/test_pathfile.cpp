// Reading path files: the main program's own files under either decimal
// separator and line end, the start-line rule, the sample limit, damaged and
// hostile files; and the number reading and masks the viewer uses.
#include <QBuffer>
#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

#include "pathviewer/pathfile.h"
#include "pathviewer/pathtext.h"

using namespace zk::pathviewer;

namespace {

// A path file as the main program writes it (13 header lines, "Start",
// sites, frequency, K, samples), with the given decimal separator.
QList<QByteArray> mainProgramLines(char sep = '.', int samples = 61)
{
    auto num = [sep](QByteArray t) {
        t.replace('.', sep);
        return t;
    };
    QList<QByteArray> l = {
        "Kestrova pour Windows",
        "Version 1.0",
        "** Donn\xe9" "es du site de gauche **",
        " Nom",
        " Hauteur d'antenne (m)",
        "** Donn\xe9" "es du site de droite **",
        " Nom",
        " Hauteur d'antenne (m)",
        "** Donn\xe9" "es du lien radio **",
        " Fr\xe9quence (GHz)",
        " Facteur de courbure terrestre",
        "** Profil de parcours **",
        " \xc9" "chantillons: Distance(km) Altitude(m)",
        "Start",
        "Ch\xe2teau d'Eau",
        num(" 12.5 "),
        "Pic Saint-Loup",
        " 10 ",
        num(" .446 "),
        num(" 1.33331675899808 "),
    };
    for (int i = 0; i < samples; ++i) {
        const QByteArray d = QByteArray::number(i * 0.4, 'f', 3).rightJustified(8, '0');
        const QByteArray a = QByteArray::number(600.0 + i * 1.5, 'f', 1).rightJustified(6, '0');
        l << num(d) + '\t' + num(a) + "\t0\t0";
    }
    return l;
}

QByteArray joinLines(const QList<QByteArray> &lines, const QByteArray &eol = "\r\n", bool lastEol = true)
{
    QByteArray out = lines.join(eol);
    if (lastEol && !lines.isEmpty()) out += eol;
    return out;
}

PathFileData readBytes(const QByteArray &bytes)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    return readPathFile(buf);
}

// The lines of a short valid file up to K, then the given sample lines.
QByteArray withSamples(const QList<QByteArray> &samples)
{
    QList<QByteArray> l = {"Start", "A", "10", "B", "20", "1", "1.3333333"};
    l += samples;
    return joinLines(l);
}

}  // namespace

class TestPathFile : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void mainProgramFile_data()
    {
        QTest::addColumn<char>("sep");
        QTest::addColumn<QByteArray>("eol");
        QTest::newRow("point, CR LF") << '.' << QByteArray("\r\n");
        QTest::newRow("comma, CR LF") << ',' << QByteArray("\r\n");
        QTest::newRow("point, LF") << '.' << QByteArray("\n");
        QTest::newRow("comma, CR") << ',' << QByteArray("\r");
    }
    void mainProgramFile()
    {
        QFETCH(char, sep);
        QFETCH(QByteArray, eol);
        const PathFileData d = readBytes(joinLines(mainProgramLines(sep), eol));
        QCOMPARE(d.messages, 0);
        QVERIFY(d.redraw);
        QCOMPARE(d.sitename[1], QStringLiteral("Château d'Eau"));
        QCOMPARE(d.sitename[2], QStringLiteral("Pic Saint-Loup"));
        QVERIFY(d.hasAnt[1] && d.hasAnt[2]);
        QCOMPARE(d.siteant[1], 12.5f);
        QCOMPARE(d.siteant[2], 10.0f);
        QVERIFY(d.hasFreq);
        QCOMPARE(d.freq, 0.446f);
        QVERIFY(d.hasK);
        QCOMPARE(d.kfactor, 1.33331675899808f);
        QCOMPARE(d.samples, 61);
        QCOMPARE(d.pdist[1], 0.0f);
        QCOMPARE(d.pdist[61], 24.0f);
        QCOMPARE(d.palt[61], 690.0f);
        QCOMPARE(d.pdist[62], 0.0f);
        QCOMPARE(d.pcode[30], uint8_t(0));
    }

    void lastLineWithoutLineEnd()
    {
        const PathFileData d = readBytes(joinLines(mainProgramLines('.', 4), "\r\n", false));
        QCOMPARE(d.messages, 0);
        QCOMPARE(d.samples, 4);
        QCOMPARE(d.palt[4], 604.5f);
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("point") << "12.5" << true << 12.5;
        QTest::newRow("comma") << "12,5" << true << 12.5;
        QTest::newRow("blanks around") << "   12,5  " << true << 12.5;
        QTest::newRow("no leading zero") << ".146" << true << 0.146;
        QTest::newRow("no leading zero, comma") << " ,146 " << true << 0.146;
        QTest::newRow("negative mask") << "-0003.0" << true << -3.0;
        QTest::newRow("plus") << "+7" << true << 7.0;
        QTest::newRow("exponent") << "1E+20" << true << 1e20;
        QTest::newRow("small exponent") << "2,5e-3" << true << 0.0025;
        QTest::newRow("trailing point") << "5." << true << 5.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blanks") << "   " << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("grouped") << "1,234.5" << false << 0.0;
        QTest::newRow("trailing junk") << "3x" << false << 0.0;
        QTest::newRow("inner blank") << "1 2" << false << 0.0;
        QTest::newRow("tab is not a blank") << "\t5" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
        QTest::newRow("inf") << "inf" << false << 0.0;
        QTest::newRow("hex") << "0x10" << false << 0.0;
        QTest::newRow("bare exponent") << "1e" << false << 0.0;
        QTest::newRow("double sign") << "--1" << false << 0.0;
        QTest::newRow("sign only") << "-" << false << 0.0;
        QTest::newRow("point only") << "." << false << 0.0;
        QTest::newRow("beyond double") << "1e400" << false << 0.0;
    }
    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        double v = -99;
        QCOMPARE(parseNumber(text, v), ok);
        if (ok) QVERIFY(std::fabs(v - value) <= 1e-12 * std::max(1.0, std::fabs(value)));
        else QCOMPARE(v, -99.0);
    }

    void singles()
    {
        float f = 0;
        QVERIFY(parseSingle(u"0.3", f));
        QCOMPARE(f, 0.3f);
        QVERIFY(!parseSingle(u"1e39", f));  // a double, but beyond a single
        QVERIFY(parseSingle(u"-3.4e38", f));
    }

    void masks_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("intDigits");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<int>("significant");
        QTest::addColumn<QString>("text");
        QTest::newRow("distance") << "C" << 12.34 << 1 << 1 << 7 << "12.3";
        QTest::newRow("clearance") << "C" << 1.234 << 1 << 1 << 7 << "1.2";
        QTest::newRow("single half") << "C" << double(12.25f) << 1 << 1 << 7 << "12.3";
        QTest::newRow("single 1.15") << "C" << double(1.15f) << 1 << 1 << 7 << "1.2";
        QTest::newRow("negative half") << "C" << -0.25 << 1 << 1 << 7 << "-0.3";
        QTest::newRow("carry") << "C" << double(99.95f) << 1 << 1 << 7 << "100.0";
        QTest::newRow("leading zeros") << "C" << 812.0 << 4 << 1 << 7 << "0812.0";
        QTest::newRow("negative leading zeros") << "C" << -3.0 << 4 << 1 << 7 << "-0003.0";
        QTest::newRow("wider than mask") << "C" << 12345.6 << 4 << 1 << 7 << "12345.6";
        QTest::newRow("rounds to zero") << "C" << -0.04 << 1 << 1 << 7 << "0.0";
        QTest::newRow("frequency") << "C" << double(0.3f) << 1 << 3 << 15 << "0.300";
        QTest::newRow("K") << "C" << double(1.3333333f) << 1 << 3 << 7 << "1.333";
        QTest::newRow("large") << "C" << 1e20 << 1 << 1 << 7 << "100000000000000000000.0";
        QTest::newRow("tiny") << "C" << 1e-30 << 1 << 3 << 7 << "0.000";
        QTest::newRow("comma") << "fr_FR" << 12.34 << 1 << 1 << 7 << "12,3";
        QTest::newRow("comma mask") << "fr_FR" << 24.0 << 1 << 3 << 7 << "24,000";
    }
    void masks()
    {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(int, intDigits);
        QFETCH(int, decimals);
        QFETCH(int, significant);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(formatMask(value, intDigits, decimals, significant), text);
    }

    void startLine_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("start");
        QTest::newRow("as written") << QByteArray("Start") << true;
        QTest::newRow("upper case") << QByteArray("START") << true;
        QTest::newRow("longer word") << QByteArray("Startle") << true;
        QTest::newRow("more words") << QByteArray("start of samples") << true;
        QTest::newRow("trailing blanks") << QByteArray("Start   ") << true;
        QTest::newRow("leading blank") << QByteArray(" start") << false;
        QTest::newRow("leading tab") << QByteArray("\tstart") << false;
        QTest::newRow("four letters") << QByteArray("star") << false;
        QTest::newRow("split") << QByteArray("s tart") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void startLine()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, start);
        QCOMPARE(isStartLine(line), start);
    }

    void startLineFindsTheFirst()
    {
        // Lines before it are skipped, whatever they hold; the first start
        // line counts, the next one is a site name.
        const PathFileData d = readBytes(joinLines({"junk", " start", "Star", "START here", "Start", "5", "B", "6", "1",
                                                    "1.3", "0\t1\t0\t0", "1\t2\t0\t0"}));
        QCOMPARE(d.messages, 0);
        QCOMPARE(d.sitename[1], QStringLiteral("Start"));
        QCOMPARE(d.siteant[1], 5.0f);
        QCOMPARE(d.sitename[2], QStringLiteral("B"));
        QCOMPARE(d.samples, 2);
    }

    // Files that end early: where they end decides the message and the redraw.
    void truncated_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("messages");
        QTest::addColumn<bool>("redraw");
        QTest::addColumn<int>("samples");
        QTest::newRow("empty") << 0 << 1 << false << 0;
        QTest::newRow("header only") << 13 << 1 << false << 0;
        QTest::newRow("start line") << 14 << 1 << false << 0;
        QTest::newRow("left name") << 15 << 1 << false << 0;
        QTest::newRow("left height") << 16 << 1 << false << 0;
        QTest::newRow("right name") << 17 << 1 << false << 0;
        QTest::newRow("right height") << 18 << 0 << true << 0;
        QTest::newRow("frequency") << 19 << 0 << true << 0;
        QTest::newRow("K") << 20 << 1 << false << 0;
        QTest::newRow("one sample") << 21 << 1 << false << 1;
        QTest::newRow("two samples") << 22 << 0 << true << 2;
        QTest::newRow("three samples") << 23 << 0 << true << 3;
    }
    void truncated()
    {
        QFETCH(int, lines);
        QFETCH(int, messages);
        QFETCH(bool, redraw);
        QFETCH(int, samples);
        const PathFileData d = readBytes(joinLines(mainProgramLines().mid(0, lines)));
        QCOMPARE(d.messages, messages);
        QCOMPARE(d.redraw, redraw);
        QCOMPARE(d.samples, samples);
        QCOMPARE(d.hasName[1], lines >= 15);
        QCOMPARE(d.hasAnt[2], lines >= 18);
        QCOMPARE(d.hasFreq, lines >= 19);
    }

    void truncatedMidLine()
    {
        // Cut inside the second sample line: that line still counts, cut short.
        QByteArray bytes = joinLines(mainProgramLines().mid(0, 22));
        bytes.chop(6);
        const PathFileData d = readBytes(bytes);
        QCOMPARE(d.samples, 2);
        QCOMPARE(d.messages, 2);  // its cover code and cover height are missing
        QVERIFY(d.redraw);
    }

    void noStartLine()
    {
        QList<QByteArray> l = mainProgramLines();
        l.removeAt(13);
        const PathFileData d = readBytes(joinLines(l));
        QCOMPARE(d.messages, 1);
        QVERIFY(!d.redraw);
        QVERIFY(!d.hasName[1]);
    }

    void badHeight()
    {
        QList<QByteArray> l = mainProgramLines();
        l[15] = "abc";
        const PathFileData d = readBytes(joinLines(l));
        QCOMPARE(d.messages, 1);
        QVERIFY(!d.hasAnt[1]);
        QVERIFY(d.hasAnt[2]);
        QCOMPARE(d.samples, 61);
        QVERIFY(d.redraw);
    }

    void frequencyAndK_data()
    {
        QTest::addColumn<QByteArray>("freq");
        QTest::addColumn<QByteArray>("k");
        QTest::addColumn<bool>("hasFreq");
        QTest::addColumn<bool>("hasK");
        QTest::newRow("no network") << QByteArray(" 0 ") << QByteArray(" 1.3 ") << false << true;
        QTest::newRow("K zero") << QByteArray(" .3 ") << QByteArray("0") << true << false;
        QTest::newRow("K negative") << QByteArray(" .3 ") << QByteArray("-1") << true << false;
        QTest::newRow("not numbers") << QByteArray("GHz") << QByteArray("K") << false << false;
    }
    void frequencyAndK()
    {
        QFETCH(QByteArray, freq);
        QFETCH(QByteArray, k);
        QFETCH(bool, hasFreq);
        QFETCH(bool, hasK);
        QList<QByteArray> l = mainProgramLines();
        l[18] = freq;
        l[19] = k;
        const PathFileData d = readBytes(joinLines(l));
        QCOMPARE(d.messages, 0);  // these two lines never complain
        QCOMPARE(d.hasFreq, hasFreq);
        QCOMPARE(d.hasK, hasK);
    }

    void sampleFields_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("messages");
        QTest::addColumn<float>("dist");
        QTest::addColumn<float>("alt");
        QTest::addColumn<int>("code");
        QTest::addColumn<float>("cover");
        QTest::newRow("two fields later") << 3 << QByteArray("2.5\t100") << 0 << 2.5f << 100.f << 0 << 0.f;
        QTest::newRow("two fields first") << 1 << QByteArray("0\t100") << 2 << 0.f << 100.f << 0 << 0.f;
        QTest::newRow("cover") << 3 << QByteArray("2.5\t100\t3\t12.5") << 0 << 2.5f << 100.f << 3 << 12.5f;
        QTest::newRow("code 300 later") << 3 << QByteArray("2.5\t100\t300\t5") << 0 << 2.5f << 100.f << 0 << 5.f;
        QTest::newRow("code 300 first") << 1 << QByteArray("0\t100\t300\t5") << 1 << 0.f << 100.f << 0 << 5.f;
        QTest::newRow("code -1") << 3 << QByteArray("2.5\t100\t-1\t5") << 0 << 2.5f << 100.f << 0 << 5.f;
        QTest::newRow("code half to even") << 3 << QByteArray("2.5\t100\t2.5\t5") << 0 << 2.5f << 100.f << 2 << 5.f;
        QTest::newRow("code half up") << 3 << QByteArray("2.5\t100\t3.5\t5") << 0 << 2.5f << 100.f << 4 << 5.f;
        QTest::newRow("code 254.5") << 3 << QByteArray("2.5\t100\t254.5\t5") << 0 << 2.5f << 100.f << 254 << 5.f;
        QTest::newRow("code 255.5") << 3 << QByteArray("2.5\t100\t255.5\t5") << 0 << 2.5f << 100.f << 0 << 5.f;
        QTest::newRow("junk after 4th tab, first") << 1 << QByteArray("0\t100\t1\t2\tjunk\tmore") << 1 << 0.f << 100.f << 1 << 2.f;
        QTest::newRow("junk after 4th tab, later") << 3 << QByteArray("2.5\t100\t1\t2\tjunk") << 0 << 2.5f << 100.f << 1 << 2.f;
        QTest::newRow("4th tab alone") << 2 << QByteArray("1\t100\t0\t0\t") << 0 << 1.f << 100.f << 0 << 0.f;
        QTest::newRow("all bad, second") << 2 << QByteArray("abc\txyz\t\t") << 4 << 0.f << 0.f << 0 << 0.f;
        QTest::newRow("empty later") << 3 << QByteArray("") << 0 << 0.f << 0.f << 0 << 0.f;
        QTest::newRow("blanks around") << 3 << QByteArray(" 2,5 \t 100 \t 1 \t 2 ") << 0 << 2.5f << 100.f << 1 << 2.f;
        QTest::newRow("negative") << 3 << QByteArray("2.5\t-0003.0\t0\t-1") << 0 << 2.5f << -3.f << 0 << -1.f;
    }
    void sampleFields()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QFETCH(int, messages);
        QFETCH(float, dist);
        QFETCH(float, alt);
        QFETCH(int, code);
        QFETCH(float, cover);
        QList<QByteArray> s = {"0\t1\t0\t0", "1\t1\t0\t0", "2\t1\t0\t0", "3\t1\t0\t0"};
        s[line - 1] = text;
        const PathFileData d = readBytes(withSamples(s));
        QCOMPARE(d.messages, messages);
        QCOMPARE(d.samples, 4);
        const size_t i = size_t(line);
        QCOMPARE(d.pdist[i], dist);
        QCOMPARE(d.palt[i], alt);
        QCOMPARE(int(d.pcode[i]), code);
        QCOMPARE(d.pcover[i], cover);
    }

    void sampleLimit()
    {
        QList<QByteArray> s;
        for (int i = 0; i < 250; ++i) s << QByteArray::number(i) + "\t" + QByteArray::number(i * 2) + "\t0\t0";
        s[220] = "garbage that is never read";
        const PathFileData d = readBytes(withSamples(s));
        QCOMPARE(d.samples, kSamples);
        QCOMPARE(d.pdist[200], 199.0f);
        QCOMPARE(d.palt[200], 398.0f);
        QCOMPARE(d.messages, 0);
        QVERIFY(d.redraw);
    }

    void eightBitText()
    {
        static const char name[] = "\x80 Ch\xe2teau\0z";
        const PathFileData d = readBytes(joinLines({"Start", QByteArray(name, sizeof name - 1), "1", "  Blanks kept  ", "2"}));
        QCOMPARE(d.sitename[1], QString(QStringLiteral("€ Château") + QChar(0) + QStringLiteral("z")));
        QCOMPARE(d.sitename[2], QStringLiteral("  Blanks kept  "));
        QVERIFY(d.redraw);  // ends before the frequency: no message
        QCOMPARE(d.messages, 0);
    }

    void overlongLines_data()
    {
        QTest::addColumn<int>("at");  // line index replaced by an over-long one
        QTest::addColumn<int>("messages");
        QTest::addColumn<bool>("redraw");
        QTest::addColumn<int>("samples");
        QTest::newRow("in the header") << 3 << 1 << false << 0;
        QTest::newRow("site name") << 16 << 1 << false << 0;
        QTest::newRow("frequency") << 18 << 1 << true << 0;
        QTest::newRow("first sample") << 20 << 1 << false << 0;
        QTest::newRow("fifth sample") << 24 << 1 << true << 4;
    }
    void overlongLines()
    {
        QFETCH(int, at);
        QFETCH(int, messages);
        QFETCH(bool, redraw);
        QFETCH(int, samples);
        QList<QByteArray> l = mainProgramLines();
        l[at] = QByteArray(kMaxLineBytes + 10, '7');
        const PathFileData d = readBytes(joinLines(l));
        QCOMPARE(d.messages, messages);
        QCOMPARE(d.redraw, redraw);
        QCOMPARE(d.samples, samples);
    }

    void longLineWithinBound()
    {
        QList<QByteArray> l = mainProgramLines();
        l[14] = QByteArray(kMaxLineBytes, 'x');
        const PathFileData d = readBytes(joinLines(l));
        QCOMPARE(d.messages, 0);
        QCOMPARE(d.sitename[1].size(), kMaxLineBytes);
    }

    void hugeHeader()
    {
        // Not a path file: the start line is searched for only so far.
        QByteArray bytes;
        const QByteArray comment(1000, 'c');
        while (bytes.size() <= kMaxHeaderBytes) bytes += comment + "\r\n";
        bytes += joinLines(mainProgramLines().mid(13));
        const PathFileData d = readBytes(bytes);
        QCOMPARE(d.messages, 1);
        QVERIFY(!d.redraw);
    }

    void binaryGarbage_data()
    {
        QTest::addColumn<bool>("withStart");
        QTest::newRow("plain") << false;
        QTest::newRow("with start line") << true;
    }
    void binaryGarbage()
    {
        QFETCH(bool, withStart);
        QRandomGenerator rng(1234);
        for (int round = 0; round < 20; ++round) {
            QByteArray bytes(int(rng.bounded(1, 4000)), Qt::Uninitialized);
            for (char &c : bytes) c = char(rng.bounded(256));
            if (withStart) bytes.insert(int(rng.bounded(bytes.size())), "\nStart\n");
            const PathFileData d = readBytes(bytes);
            QVERIFY(d.messages >= 0);
            QVERIFY(d.samples >= 0 && d.samples <= kSamples);
            if (!withStart && d.messages == 1) QVERIFY(!d.redraw);
        }
    }

    void noLineEndAtAll()
    {
        const PathFileData d = readBytes(QByteArray(200000, '\0'));
        QCOMPARE(d.messages, 1);
        QVERIFY(!d.redraw);
    }
};

QTEST_MAIN(TestPathFile)
#include "test_pathfile.moc"
