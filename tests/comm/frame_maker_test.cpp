// The maker's framing: golden requests, and replies fed whole, byte by byte and with noise, with
// every kind of damage a line can do. Nothing invalid may ever be accepted.
#include "comm/frame_maker.h"
#include "frame_feed.h"
#include "peer_codec.h"

#include <gtest/gtest.h>

using namespace qmx::frame;

namespace {

QByteArray bytes(const char* hex)
{
    return peer::fromHex(hex);
}

QString ch(int c)
{
    return QString(QChar(c));
}

const feed::Scanner kScan = makerScan;

struct GoldenRow {
    const char* name;
    QString address, sub, command, reg, data;
    QByteArray wire;
    bool expectsReply;
};

TEST(FrameMaker, GoldenRequests)
{
    const GoldenRow rows[] = {
        {"read PV instrument 0", " ", " ", " ", "0080", "",
         bytes("02 20 20 20 30 30 38 30 03 32 39"), true},
        {"key write instrument 1", "!", " ", "P", "0000", "8217",
         bytes("02 21 20 50 30 30 30 30 38 32 31 37 03 35 43"), true},
        {"lower-case code is sent upper", " ", " ", " ", "00a1", "",
         QByteArray("\x02   00A1\x03") +
             peer::hex2(0x02 ^ 0x20 ^ 0x20 ^ 0x20 ^ '0' ^ '0' ^ 'A' ^ '1' ^ 0x03),
         true},
        {"special read 0x61", " ", " ", ch(0x61), "FC32", "",
         QByteArray("\x02  \x61"
                    "FC32\x03") +
             peer::hex2(0x02 ^ 0x20 ^ 0x20 ^ 0x61 ^ 'F' ^ 'C' ^ '3' ^ '2' ^ 0x03),
         true},
        {"global instrument 95", ch(0x7F), " ", " ", "0080", "",
         QByteArray("\x02\x7F  0080\x03") +
             peer::hex2(0x02 ^ 0x7F ^ 0x20 ^ 0x20 ^ '0' ^ '0' ^ '8' ^ '0' ^ 0x03),
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto r = makerRequest(row.address, row.sub, row.command, row.reg, row.data);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->wire.toHex(' '), row.wire.toHex(' '));
        EXPECT_EQ(r->expectsReply, row.expectsReply);
        EXPECT_EQ(r->maxReplyLength, 15);
    }
}

TEST(FrameMaker, RequestsThatCannotBeFramedSendNothing)
{
    struct Row {
        const char* name;
        QString address, sub, command, reg, data;
    };
    const Row rows[] = {
        {"empty address", "", " ", " ", "0080", ""},
        {"two-char address", "00", " ", " ", "0080", ""},
        {"address below 0x20", ch(0x1F), " ", " ", "0080", ""},
        {"address above 0x7F", ch(0x80), " ", " ", "0080", ""},
        {"read with data", " ", " ", " ", "0080", "0001"},
        {"write without data", " ", " ", "P", "0080", ""},
        {"write with 3 digits", " ", " ", "P", "0080", "001"},
        {"write with non-hex data", " ", " ", "P", "0080", "00G1"},
        {"short register code", " ", " ", " ", "080", ""},
        {"non-hex register code", " ", " ", " ", "00X0", ""},
        {"unknown command", " ", " ", "Q", "0080", ""},
        {"0x70 goes as P, never raw", " ", " ", ch(0x70), "FF1A", "0000"},
        {"Modbus command text", " ", " ", "03", "0080", ""},
        {"empty sub-address", " ", "", " ", "0080", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(makerRequest(row.address, row.sub, row.command, row.reg, row.data));
    }
}

TEST(FrameMaker, BccKnownAnswers)
{
    EXPECT_EQ(makerBcc(bytes("02 20 20 20 30 30 38 30 03")), 0x29);
    EXPECT_EQ(makerBcc(bytes("02 21 20 50 30 30 30 30 38 32 31 37 03")), 0x5C);
    EXPECT_EQ(makerBcc(bytes("06 20 30 20 30 30 38 30 30 30 46 41 03")), 0x3A);
    EXPECT_EQ(makerBcc({}), 0);
}

QByteArray readPv()
{
    return makerRequest(" ", " ", " ", "0080", "")->wire;
}

QByteArray keyWrite()
{
    return makerRequest("!", " ", "P", "0000", "8217")->wire;
}

struct ReplyRow {
    const char* name;
    QByteArray request;
    QByteArray reply;
    bool valid;
    QString text; // when valid
};

std::vector<ReplyRow> replyRows()
{
    const QByteArray ackPv = bytes("06 20 30 20 30 30 38 30 30 30 46 41 03 33 41");
    QByteArray badBcc = ackPv;
    badBcc[14] = '0';
    return {
        {"ACK PV 00FA (golden)", readPv(), ackPv, true,
         QString::fromLatin1("\x06\x20\x30\x20"
                             "008000FA\x03")},
        {"ACK key write", keyWrite(), peer::makerAck('!', 'P', "0000", "8217"), true,
         QString::fromLatin1("\x06!0P00008217\x03")},
        {"NAK busy", keyWrite(), peer::makerReply(peer::NAK, '!', '5', 'P', "0000"), true,
         QString::fromLatin1("\x15!5P0000\x03")},
        {"ESC", readPv(), peer::makerReply(peer::ESC, ' ', '0', ' ', "0080"), true,
         QString::fromLatin1("\x1B 0 0080\x03")},
        {"bad BCC", readPv(), badBcc, false, {}},
        {"lower-case BCC",
         readPv(),
         bytes("06 20 30 20 30 30 38 30 30 30 46 41 03 33 61"),
         false,
         {}},
        {"wrong address", readPv(), peer::makerAck('!', ' ', "0080", "00FA"), false, {}},
        {"wrong command echo", readPv(), peer::makerAck(' ', 'P', "0080", "00FA"), false, {}},
        {"wrong register echo", readPv(), peer::makerAck(' ', ' ', "0081", "00FA"), false, {}},
        {"ACK with error digit",
         readPv(),
         peer::makerReply(peer::ACK, ' ', '1', ' ', "0080", "00FA"),
         false,
         {}},
        {"ACK without data",
         readPv(),
         peer::makerReply(peer::ACK, ' ', '0', ' ', "0080"),
         false,
         {}},
        {"ACK with 5 data digits", readPv(), peer::makerAck(' ', ' ', "0080", "000FA"), false, {}},
        {"ACK with 3 data digits", readPv(), peer::makerAck(' ', ' ', "0080", "0FA"), false, {}},
        {"ACK with non-hex data", readPv(), peer::makerAck(' ', ' ', "0080", "00GA"), false, {}},
        {"NAK with data",
         readPv(),
         peer::makerReply(peer::NAK, ' ', '3', ' ', "0080", "0000"),
         false,
         {}},
        {"NAK with a letter code",
         readPv(),
         peer::makerReply(peer::NAK, ' ', 'A', ' ', "0080"),
         false,
         {}},
        {"truncated", readPv(), ackPv.left(14), false, {}},
        {"no ETX", readPv(), ackPv.left(12) + ackPv.right(2), false, {}},
        {"STX lead (our own echo)", readPv(), readPv(), false, {}},
    };
}

TEST(FrameMaker, RepliesFedWholeAndByteByByte)
{
    for (const auto& row : replyRows()) {
        SCOPED_TRACE(row.name);
        const auto w = feed::whole(kScan, row.request, row.reply);
        const auto b = feed::byteByByte(kScan, row.request, row.reply);
        if (!row.valid) {
            EXPECT_FALSE(w.text.has_value());
            EXPECT_FALSE(b.text.has_value());
            continue;
        }
        ASSERT_TRUE(w.text.has_value());
        EXPECT_EQ(*w.text, row.text);
        ASSERT_TRUE(b.text.has_value());
        EXPECT_EQ(*b.text, row.text);
        EXPECT_EQ(b.acceptedAt, row.reply.size()) << "accepted before the frame was complete";
    }
}

TEST(FrameMaker, RepliesWithNoiseBeforeAndAfter)
{
    for (const auto& row : replyRows()) {
        for (const QByteArray& noise : feed::garbage()) {
            SCOPED_TRACE(std::string(row.name) + " / noise " + noise.toHex(' ').toStdString());
            const QByteArray line = noise + row.reply + noise;
            const auto b = feed::byteByByte(kScan, row.request, line);
            if (!row.valid) {
                EXPECT_FALSE(b.text.has_value());
                continue;
            }
            ASSERT_TRUE(b.text.has_value());
            EXPECT_EQ(*b.text, row.text);
            EXPECT_EQ(b.acceptedAt, noise.size() + row.reply.size());
        }
    }
}

TEST(FrameMaker, EverySingleByteDamageIsRejected)
{
    for (const auto& row : replyRows()) {
        if (!row.valid)
            continue;
        SCOPED_TRACE(row.name);
        const QByteArray good = row.reply;
        for (qsizetype i = 0; i < good.size(); ++i) {
            for (int mask : {0x01, 0x02, 0x10, 0x20, 0x40, 0x80, 0xFF}) {
                QByteArray bad = good;
                bad[i] = static_cast<char>(bad[i] ^ mask);
                EXPECT_FALSE(feed::whole(kScan, row.request, bad).text)
                    << "byte " << i << " ^ " << mask;
            }
            QByteArray cut = good;
            cut.remove(i, 1);
            EXPECT_FALSE(feed::whole(kScan, row.request, cut).text) << "byte " << i << " lost";
            // An extra byte inside the frame (one equal to its neighbour is the same damage
            // one place further on, and after the last byte it is only noise after the frame).
            for (char extra : {'0', 'Z', char(0x03)}) {
                if (i + 1 >= good.size() || good[i + 1] == extra)
                    continue;
                QByteArray longer = good;
                longer.insert(i + 1, extra);
                EXPECT_FALSE(feed::whole(kScan, row.request, longer).text)
                    << "extra byte after " << i;
            }
        }
        for (qsizetype n = 0; n < good.size(); ++n)
            EXPECT_FALSE(feed::whole(kScan, row.request, good.left(n)).text) << n << " bytes";
    }
}

TEST(FrameMaker, ARefusedFrameDoesNotHideTheAnswerBehindIt)
{
    // A late reply to another register, then the right one: only the right one counts.
    const QByteArray late = peer::makerAck(' ', ' ', "0081", "1234");
    const QByteArray right = peer::makerAck(' ', ' ', "0080", "00FA");
    const auto b = feed::byteByByte(kScan, readPv(), late + right);
    ASSERT_TRUE(b.text.has_value());
    EXPECT_EQ(b.text->mid(8, 4), "00FA");
}

TEST(FrameMaker, NoRequestNoReply)
{
    EXPECT_FALSE(makerScan({}, peer::makerAck(' ', ' ', "0080", "00FA")).accepted);
}

} // namespace
