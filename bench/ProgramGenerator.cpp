#include "bench/ProgramGenerator.h"

#include <QRandomGenerator>

#include <algorithm>

namespace bench {
namespace {

QString Number(QRandomGenerator &random, double low, double high, int places)
{
    const double value = low + (high - low) * random.generateDouble();
    QString text = QString::number(value, 'f', places);
    // NC style: trailing zeros dropped but the point kept ("12." and "12.5")
    while (text.endsWith(u'0'))
        text.chop(1);
    return text;
}

void AddToolChange(QString &out, QRandomGenerator &random, int &sequence)
{
    const int tool = random.bounded(1, 13);
    out += QStringLiteral("N%1 G00 X200. Z150. M09\r\n").arg(sequence++);
    out += QStringLiteral("M01\r\n\r\n");
    out += QStringLiteral("T%1%2(外径 仕上 R0.4)\r\n")
               .arg(tool, 2, 10, QLatin1Char('0'))
               .arg(tool, 2, 10, QLatin1Char('0'));
    out += QStringLiteral("G96 S%1 M03\r\n").arg(random.bounded(80, 250));
    out += QStringLiteral("G00 X%1 Z5. M08\r\n").arg(Number(random, 20, 80, 1));
}

void AddLatheBlock(QString &out, QRandomGenerator &random, int &sequence)
{
    switch (random.bounded(12)) {
    case 0:
        out += QStringLiteral("G01 X%1 Z%2 F%3\r\n")
                   .arg(Number(random, 10, 80, 3), Number(random, -120, 0, 3), Number(random, 0.05, 0.3, 2));
        break;
    case 1:
        out += QStringLiteral("G02 X%1 Z%2 R%3\r\n")
                   .arg(Number(random, 10, 80, 3), Number(random, -120, 0, 3), Number(random, 1, 10, 1));
        break;
    case 2:
        out += QStringLiteral("N%1 G00X%2Z%3\r\n")
                   .arg(sequence++)
                   .arg(Number(random, 10, 80, 2), Number(random, 0, 5, 1));
        break;
    case 3:
        out += QStringLiteral("G01 U%1 W%2\r\n").arg(Number(random, -2, 2, 3), Number(random, -5, 0, 3));
        break;
    case 4:
        out += QStringLiteral("(荒加工 パス%1)\r\n").arg(random.bounded(1, 99));
        break;
    case 5:
        out += QStringLiteral("\r\n");
        break;
    case 6:
        out += QStringLiteral("G01 X[#101+%1] Z-%2 F0.1\r\n")
                   .arg(Number(random, 0, 5, 2), Number(random, 0, 50, 1));
        break;
    case 7:
        out += QStringLiteral("G97 S%1 M03\r\n").arg(random.bounded(300, 2000));
        break;
    case 8:
        out += QStringLiteral("G04 U%1\r\n").arg(Number(random, 0.1, 2, 1));
        break;
    case 9:
        out += QStringLiteral("G03 X%1 Z%2 I%3 K%4\r\n")
                   .arg(Number(random, 10, 80, 3), Number(random, -120, 0, 3), Number(random, -5, 5, 3),
                        Number(random, -5, 5, 3));
        break;
    case 10:
        out += QStringLiteral("X%1 Z%2\r\n").arg(Number(random, 10, 80, 3), Number(random, -120, 0, 3));
        break;
    default:
        out += QStringLiteral("G01 X%1 F%2 (仕上げ 送り)\r\n")
                   .arg(Number(random, 10, 80, 3), Number(random, 0.05, 0.3, 3));
        break;
    }
}

void AddMillBlock(QString &out, QRandomGenerator &random, int &sequence)
{
    switch (random.bounded(10)) {
    case 0:
        out += QStringLiteral("N%1 G90 G01 X%2 Y%3 Z%4 C%5 F%6\r\n")
                   .arg(sequence++)
                   .arg(Number(random, -50, 50, 3), Number(random, -50, 50, 3), Number(random, -20, 5, 3),
                        Number(random, 0, 360, 3), Number(random, 100, 2000, 0));
        break;
    case 1:
        out += QStringLiteral("G91 X%1 Y%2 Z%3\r\n")
                   .arg(Number(random, -1, 1, 4), Number(random, -1, 1, 4), Number(random, -0.5, 0.5, 4));
        break;
    case 2:
        out += QStringLiteral("G90\r\n");
        break;
    case 3:
        out += QStringLiteral("(面 %1 仕上げ)\r\n").arg(random.bounded(1, 40));
        break;
    case 4:
        out += QStringLiteral("\r\n");
        break;
    case 5:
        out += QStringLiteral("X%1Y%2C%3\r\n")
                   .arg(Number(random, -50, 50, 3), Number(random, -50, 50, 3), Number(random, -360, 360, 3));
        break;
    case 6:
        out += QStringLiteral("G02 X%1 Y%2 I%3 J%4\r\n")
                   .arg(Number(random, -50, 50, 3), Number(random, -50, 50, 3), Number(random, -5, 5, 3),
                        Number(random, -5, 5, 3));
        break;
    case 7:
        out +=
            QStringLiteral("G01 Z[#5+%1] F%2\r\n").arg(Number(random, -2, 0, 2), Number(random, 100, 900, 0));
        break;
    case 8:
        out += QStringLiteral("S%1 M03\r\n").arg(random.bounded(1000, 12000));
        break;
    default:
        out += QStringLiteral("X%1 Y%2 Z%3\r\n")
                   .arg(Number(random, -50, 50, 4), Number(random, -50, 50, 4), Number(random, -20, 5, 4));
        break;
    }
}

// One block between the cuts of a finishing contour: each line it adds carries a sequence number.
void AddFinishingBreak(QString &out, QRandomGenerator &random, int &sequence)
{
    switch (random.bounded(4)) {
    case 0:
        out += QStringLiteral("N%1 (仕上げ 面%2 R0.4)\r\n").arg(sequence++).arg(random.bounded(1, 40));
        break;
    case 1:
        out += QStringLiteral("N%1 G00 X%2 Z%3\r\n")
                   .arg(sequence++)
                   .arg(Number(random, 20, 90, 3), Number(random, 0, 5, 3));
        break;
    case 2: {
        const int tool = random.bounded(1, 13);
        out += QStringLiteral("N%1 G00 X200. Z150. M09\r\n").arg(sequence++);
        out += QStringLiteral("N%1 T%2%3 (外径 仕上)\r\n")
                   .arg(sequence++)
                   .arg(tool, 2, 10, QLatin1Char('0'))
                   .arg(tool, 2, 10, QLatin1Char('0'));
        out += QStringLiteral("N%1 G96 S%2 M03\r\n").arg(sequence++).arg(random.bounded(80, 250));
        break;
    }
    default:
        out += QStringLiteral("N%1 G04 U%2\r\n").arg(sequence++).arg(Number(random, 0.1, 2, 1));
        break;
    }
}

// A program of about `lines` lines: the heading, blocks from `addBlock` (each one or more lines) until the
// lines are nearly there, and the end.
template <typename AddBlock>
QString FillProgram(qsizetype lines, qsizetype bytesPerLine, const QString &heading, AddBlock addBlock)
{
    QString out;
    out.reserve(lines * bytesPerLine);
    out += heading;
    qsizetype count = out.count(u"\r\n");
    while (count < lines - 2) {
        const qsizetype before = out.size();
        addBlock(out);
        count += QStringView(out).mid(before).count(u"\r\n");
    }
    out += QStringLiteral("M30\r\n%\r\n");
    return out;
}

} // namespace

QString GenerateLatheProgram(qsizetype lines, unsigned seed)
{
    QRandomGenerator random(seed);
    int sequence = 10;
    return FillProgram(lines, 28,
                       QStringLiteral("%\r\nO1000(ベンチマーク 旋盤)\r\nG50 S2000\r\nG00 G40 G97 G99\r\n"),
                       [&](QString &out) {
                           if (random.bounded(200) == 0)
                               AddToolChange(out, random, sequence);
                           else
                               AddLatheBlock(out, random, sequence);
                       });
}

QString GenerateMillProgram(qsizetype lines, unsigned seed)
{
    QRandomGenerator random(seed);
    int sequence = 10;
    return FillProgram(lines, 32,
                       QStringLiteral("%\r\nO2000(ベンチマーク 複合)\r\nG90 G54 G00 X0 Y0 Z50. C0\r\n"),
                       [&](QString &out) { AddMillBlock(out, random, sequence); });
}

QString GenerateFinishingProgram(qsizetype lines, unsigned seed)
{
    QRandomGenerator random(seed);
    int sequence = 1;
    double x = 60;
    double z = 0;
    return FillProgram(
        lines, 32, QStringLiteral("%\r\nO3000(ベンチマーク 仕上げ)\r\nG50 S2500\r\nG00 G40 G97 G99\r\n"),
        [&](QString &out) {
            if (random.bounded(40) == 0) {
                AddFinishingBreak(out, random, sequence);
                return;
            }
            // a contour walks in small steps: X and Z stay within their range and carry three decimals
            x = std::clamp(x + (random.generateDouble() - 0.5) * 2, 10.0, 95.0);
            z = std::clamp(z - random.generateDouble() * 0.2, -150.0, 0.0);
            if (z <= -150.0)
                z = 0;
            out += QStringLiteral("N%1 G01 X%2 Z%3 F%4\r\n")
                       .arg(sequence++)
                       .arg(QString::number(x, 'f', 3), QString::number(z, 'f', 3),
                            random.bounded(2) ? QStringLiteral("0.3") : QStringLiteral("0.15"));
        });
}

// A lathe program of `lines` lines made of roughing cycles: each a G71 over a profile of a face, a taper, a
// diameter, an arc and a shoulder, then its G70 (every third a G73 instead), sizes varying from
// cycle to cycle so that the passes end on every kind of profile segment.
QString GenerateCycleProgram(qsizetype lines)
{
    QString text;
    text.reserve(lines * 24);
    qsizetype written = 0;
    const auto line = [&](const QString &l) {
        text += l;
        text += QStringLiteral("\r\n");
        ++written;
    };
    line(QStringLiteral("G50 S3000"));
    line(QStringLiteral("G96 S180 M03"));
    for (int k = 0; written < lines; ++k) {
        const int d = 20 + k % 17;
        const int z = 10 + k % 23;
        const auto n = [](double v) { return QString::number(v, 'f', 1); };
        line(QStringLiteral("G00 X%1. Z5.").arg(d + 34));
        if (k % 3 == 2) {
            line(QStringLiteral("G73 U4. W1. R3"));
            line(QStringLiteral("G73 P10 Q20 U0.4 W0.1 F0.25"));
        } else {
            line(QStringLiteral("G71 U%1 R0.5").arg(n(2 + (k % 4) * 0.5)));
            line(QStringLiteral("G71 P10 Q20 U0.4 W0.1 F0.25"));
        }
        line(QStringLiteral("N10 G00 X%1.").arg(d));
        line(QStringLiteral("G01 Z-%1. F0.15").arg(z));
        line(QStringLiteral("X%1. Z-%2.").arg(d + 10).arg(z + 10));
        line(QStringLiteral("Z-%1.").arg(z + 25));
        line(QStringLiteral("G02 X%1. Z-%2. R5.").arg(d + 20).arg(z + 30));
        line(QStringLiteral("G01 X%1.").arg(d + 28));
        line(QStringLiteral("N20 X%1.").arg(d + 32));
        line(QStringLiteral("G70 P10 Q20"));
    }
    return text;
}

} // namespace bench
