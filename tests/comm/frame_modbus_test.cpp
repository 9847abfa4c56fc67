// Modbus ASCII and RTU framing: golden requests, check codes, and replies fed whole, byte by byte
// and with noise, with every kind of damage. Nothing invalid may ever be accepted.
#include "comm/frame_modbus_ascii.h"
#include "comm/frame_modbus_rtu.h"
#include "comm/modbus_adu.h"
#include "frame_feed.h"
#include "peer_codec.h"

#include <gtest/gtest.h>

using namespace qmx::frame;

namespace {

QByteArray bytes(const char* hex)
{
    return peer::fromHex(hex);
}

// --- requests ------------------------------------------------------------------------------------

struct RequestRow {
    const char* name;
    QString address, command, reg, data;
    QByteArray ascii; // expected wire, ASCII
    QByteArray rtu;   // expected wire, RTU
    bool expectsReply;
};

TEST(FrameModbus, GoldenRequests)
{
    const RequestRow rows[] = {
        {"read 0080 at 1", "01", "03", "00800001", "", ":0103008000017B\r\n",
         bytes("01 03 00 80 00 01 85 E2"), true},
        {"key write at 1", "01", "06", "0000", "8217", ":01060000821760\r\n",
         bytes("01 06 00 00 82 17 A9 64"), true},
        {"read 0081 at 10", "0A", "03", "00810001", "", ":0A030081000171\r\n",
         bytes("0A 03 00 81 00 01 D5 59"), true},
        {"read at 95", "5F", "03", "00800001", "", ":5F03008000011D\r\n",
         bytes("5F 03 00 80 00 01 88 9C"), true},
        {"key clear at broadcast 0", "00", "06", "0000", "0000", ":000600000000FA\r\n",
         bytes("00 06 00 00 00 00 88 1B"), false},
        {"lower-case hex is sent upper", "0a", "06", "0038", "0001", ":0A0600380001B7\r\n",
         peer::rtuFrame(bytes("0A 06 00 38 00 01")), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto a = modbusAsciiRequest(row.address, row.command, row.reg, row.data);
        const auto r = modbusRtuRequest(row.address, row.command, row.reg, row.data);
        ASSERT_TRUE(a && r);
        EXPECT_EQ(a->wire, row.ascii);
        EXPECT_EQ(r->wire.toHex(' '), row.rtu.toHex(' '));
        EXPECT_EQ(a->expectsReply, row.expectsReply);
        EXPECT_EQ(r->expectsReply, row.expectsReply);
    }
}

TEST(FrameModbus, ReplyLengthsFollowTheRequest)
{
    EXPECT_EQ(modbusRtuRequest("01", "03", "00800001", "")->maxReplyLength, 7);
    EXPECT_EQ(modbusRtuRequest("01", "06", "0000", "8217")->maxReplyLength, 8);
    EXPECT_EQ(modbusAsciiRequest("01", "03", "00800001", "")->maxReplyLength, 15);
    EXPECT_EQ(modbusAsciiRequest("01", "06", "0000", "8217")->maxReplyLength, 17);
}

TEST(FrameModbus, RequestsThatCannotBeFramedSendNothing)
{
    struct Row {
        const char* name;
        QString address, command, reg, data;
    };
    const Row rows[] = {
        {"special command char", "01", QString(QChar(0x61)), "FC32", ""},
        {"maker read command", "01", " ", "0080", ""},
        {"maker write command", "01", "P", "0000", "8217"},
        {"function 10", "01", "10", "00800001", "0200FA"},
        {"read without quantity", "01", "03", "0080", ""},
        {"read of 0 registers", "01", "03", "00800000", ""},
        {"read of 126 registers", "01", "03", "0080007E", ""},
        {"read with data", "01", "03", "00800001", "0001"},
        {"write without data", "01", "06", "0000", ""},
        {"write with quantity", "01", "06", "00000001", "8217"},
        {"address 248", "F8", "03", "00800001", ""},
        {"one-digit address", "1", "03", "00800001", ""},
        {"non-hex address", "G1", "03", "00800001", ""},
        {"odd hex digits", "01", "06", "000", "08217"},
        {"non-hex data", "01", "06", "0000", "82X7"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(modbusAsciiRequest(row.address, row.command, row.reg, row.data));
        EXPECT_FALSE(modbusRtuRequest(row.address, row.command, row.reg, row.data));
    }
}

TEST(FrameModbus, CheckCodeKnownAnswers)
{
    // Values from an independent Modbus implementation.
    EXPECT_EQ(modbusCrc(bytes("01 03 00 80 00 01")), 0xE285);
    EXPECT_EQ(modbusCrc(bytes("01 06 00 00 82 17")), 0x64A9);
    EXPECT_EQ(modbusCrc(bytes("01 03 02 00 FA")), 0x0738);
    EXPECT_EQ(modbusCrc(bytes("01 86 12")), 0x6DC2);
    EXPECT_EQ(modbusCrc({}), 0xFFFF);
    EXPECT_EQ(modbusLrc(bytes("01 03 00 80 00 01")), 0x7B);
    EXPECT_EQ(modbusLrc(bytes("01 03 02 00 FA")), 0x00);
    EXPECT_EQ(modbusLrc(bytes("0A 03 02 FF FF")), 0xF3);
    EXPECT_EQ(modbusLrc({}), 0x00);
}

// --- replies -------------------------------------------------------------------------------------

struct ReplyRow {
    const char* name;
    QByteArray requestAdu; // the request without its check
    QByteArray replyAdu;   // the reply without its check (framed per protocol below)
    bool valid;
    QString text;
};

std::vector<ReplyRow> replyRows()
{
    const QByteArray read = bytes("01 03 00 80 00 01");
    const QByteArray read10 = bytes("0A 03 00 81 00 01");
    const QByteArray write = bytes("01 06 00 00 82 17");
    return {
        {"read 00FA", read, bytes("01 03 02 00 FA"), true, ":01030200FA"},
        {"read FFFF at 10", read10, bytes("0A 03 02 FF FF"), true, ":0A0302FFFF"},
        {"write echo", write, write, true, ":010600008217"},
        {"exception 02 on read", read, bytes("01 83 02"), true, ":018302"},
        {"exception 12 on write", write, bytes("01 86 12"), true, ":018612"},
        {"wrong address", read, bytes("02 03 02 00 FA"), false, {}},
        {"wrong function", read, bytes("01 04 02 00 FA"), false, {}},
        {"exception of another function", read, bytes("01 86 02"), false, {}},
        {"byte count 4", read, bytes("01 03 04 00 FA 00 00"), false, {}},
        {"byte count 2, 3 data bytes", read, bytes("01 03 02 00 FA 00"), false, {}},
        {"byte count 1", read, bytes("01 03 01 FA"), false, {}},
        {"write echo of another register", write, bytes("01 06 00 01 82 17"), false, {}},
        {"write echo of another value", write, bytes("01 06 00 00 00 00"), false, {}},
        {"write echo too long", write, bytes("01 06 00 00 82 17 00"), false, {}},
        {"exception too long", read, bytes("01 83 02 00"), false, {}},
        {"exception too short", read, bytes("01 83"), false, {}},
    };
}

struct Framing {
    const char* name;
    QByteArray (*frame)(const QByteArray&);
    std::optional<Request> (*request)(const QString&, const QString&, const QString&,
                                      const QString&);
    feed::Scanner scan;
};

QByteArray requestWire(const Framing& f, const QByteArray& adu)
{
    const QString hex = QString::fromLatin1(adu.toHex().toUpper());
    const QString fn = hex.mid(2, 2);
    const QString reg = fn == u"03" ? hex.mid(4, 8) : hex.mid(4, 4);
    const QString data = fn == u"03" ? QString() : hex.mid(8, 4);
    return f.request(hex.left(2), fn, reg, data)->wire;
}

const Framing kFramings[] = {
    {"ASCII", peer::asciiFrame, modbusAsciiRequest, modbusAsciiScan},
    {"RTU", peer::rtuFrame, modbusRtuRequest, modbusRtuScan},
};

TEST(FrameModbus, RepliesFedWholeByteByByteAndWithNoise)
{
    for (const auto& f : kFramings) {
        for (const auto& row : replyRows()) {
            SCOPED_TRACE(std::string(f.name) + ": " + row.name);
            const QByteArray request = requestWire(f, row.requestAdu);
            const QByteArray reply = f.frame(row.replyAdu);
            std::vector<QByteArray> noises = feed::garbage();
            noises.insert(noises.begin(), QByteArray());
            for (const QByteArray& noise : noises) {
                SCOPED_TRACE("noise " + noise.toHex(' ').toStdString());
                // RTU frames end by their length, so a cut-short frame plus one more byte can be a
                // whole valid frame of another kind; noise after an invalid RTU reply proves
                // nothing.
                const bool trailing = row.valid || f.frame != peer::rtuFrame;
                const QByteArray line = noise + reply + (trailing ? noise : QByteArray());
                const auto w = feed::whole(f.scan, request, line);
                const auto b = feed::byteByByte(f.scan, request, line);
                if (!row.valid) {
                    EXPECT_FALSE(w.text.has_value());
                    EXPECT_FALSE(b.text.has_value());
                    continue;
                }
                ASSERT_TRUE(w.text.has_value());
                EXPECT_EQ(*w.text, row.text);
                ASSERT_TRUE(b.text.has_value());
                EXPECT_EQ(*b.text, row.text);
                EXPECT_EQ(b.acceptedAt, noise.size() + reply.size());
            }
        }
    }
}

TEST(FrameModbus, EverySingleByteDamageIsRejected)
{
    for (const auto& f : kFramings) {
        for (const auto& row : replyRows()) {
            if (!row.valid)
                continue;
            SCOPED_TRACE(std::string(f.name) + ": " + row.name);
            const QByteArray request = requestWire(f, row.requestAdu);
            const QByteArray good = f.frame(row.replyAdu);
            for (qsizetype i = 0; i < good.size(); ++i) {
                for (int mask : {0x01, 0x02, 0x04, 0x10, 0x20, 0x40, 0x80, 0xFF}) {
                    QByteArray bad = good;
                    bad[i] = static_cast<char>(bad[i] ^ mask);
                    EXPECT_FALSE(feed::whole(f.scan, request, bad).text)
                        << "byte " << i << " ^ " << mask;
                }
                QByteArray cut = good;
                cut.remove(i, 1);
                EXPECT_FALSE(feed::whole(f.scan, request, cut).text) << "byte " << i << " lost";
            }
            for (qsizetype n = 0; n < good.size(); ++n)
                EXPECT_FALSE(feed::whole(f.scan, request, good.left(n)).text) << n << " bytes";
        }
    }
}

TEST(FrameModbus, AsciiRefusesLowerCaseAndMissingLineEnd)
{
    const QByteArray request = modbusAsciiRequest("0A", "03", "00810001", "")->wire;
    EXPECT_TRUE(modbusAsciiScan(request, ":0A0302FFFFF3\r\n").accepted);
    EXPECT_FALSE(modbusAsciiScan(request, ":0a0302ffffF3\r\n").accepted);
    EXPECT_FALSE(modbusAsciiScan(request, ":0A0302FFFFF3\n\r").accepted);
    EXPECT_FALSE(modbusAsciiScan(request, ":0A0302FFFFF3\r").accepted);
    EXPECT_FALSE(modbusAsciiScan(request, ":0A0302FFFFF3").accepted);
    EXPECT_FALSE(modbusAsciiScan(request, ":0A0302FFFF00F3\r\n").accepted);
}

TEST(FrameModbus, ALateReplyDoesNotHideTheAnswerBehindIt)
{
    for (const auto& f : kFramings) {
        SCOPED_TRACE(f.name);
        const QByteArray request = requestWire(f, bytes("01 03 00 80 00 01"));
        // An answer to an earlier write, then the answer to this read.
        const QByteArray line =
            f.frame(bytes("01 06 00 00 82 17")) + f.frame(bytes("01 03 02 01 02"));
        const auto b = feed::byteByByte(f.scan, request, line);
        ASSERT_TRUE(b.text.has_value());
        EXPECT_EQ(*b.text, ":0103020102");
    }
}

TEST(FrameModbus, OurOwnRequestEchoedBackIsNotAReply)
{
    // A line that echoes what we send must not answer our read with our own request.
    for (const auto& f : kFramings) {
        SCOPED_TRACE(f.name);
        const QByteArray request = requestWire(f, bytes("01 03 00 80 00 01"));
        EXPECT_FALSE(feed::byteByByte(f.scan, request, request).text);
    }
}

} // namespace
