#include "NrLineSettings.h"
#include "TermiosMapping.h"

#include <gtest/gtest.h>

namespace {

TEST(StreamProtocol, MasksAndReadBack) {
    struct Case {
        TStreamProtocol protocol;
        quint32 before;
        quint32 after;
    };
    const Case cases[] = {
        {spNone, 0x0000, 0x0011},     {spNone, 0xFFFF, 0x4CFB},     {spXonXoff, 0x0000, 0x0311},
        {spXonXoff, 0xFFFF, 0x4FFB},  {spHardware, 0x0000, 0x2015}, {spHardware, 0xFFFF, 0x2CFF},
        {spHardware, 0x1000, 0x2015}, {spNone, 0x2015, 0x0011},
    };
    for (const Case& c : cases) {
        TDCB dcb;
        dcb.Flags = c.before;
        NrLineSettings::ApplyStreamProtocol(dcb, c.protocol);
        EXPECT_EQ(dcb.Flags, c.after) << "protocol " << c.protocol << " from " << c.before;
        EXPECT_EQ(NrLineSettings::ReadStreamProtocol(dcb), c.protocol);
    }
}

TEST(StreamProtocol, HardwareThenNoneClearsCtsAndRts) {
    TDCB dcb = NrLineSettings::DefaultDcb();
    NrLineSettings::ApplyStreamProtocol(dcb, spHardware);
    NrLineSettings::ApplyStreamProtocol(dcb, spNone);
    EXPECT_EQ(dcb.Flags & (NrDcb::fOutxCtsFlow | NrDcb::fRtsControlMask), 0u);
}

TEST(StreamProtocol, XonXoffSetsCharactersAndLimits) {
    TDCB dcb;
    dcb.XonChar = 'a';
    dcb.XonLim = 99;
    NrLineSettings::ApplyStreamProtocol(dcb, spXonXoff);
    EXPECT_EQ(dcb.XonChar, 0x11);
    EXPECT_EQ(dcb.XoffChar, 0x13);
    EXPECT_EQ(dcb.XonLim, 10);
    EXPECT_EQ(dcb.XoffLim, 10);
}

TEST(LineSettings, ByteSizeOutsideFourToEightBecomesEight) {
    for (int size : {0, 3, 9, 255})
        EXPECT_EQ(NrLineSettings::NormalisedByteSize(static_cast<quint8>(size)), 8) << size;
    for (int size : {4, 5, 6, 7, 8})
        EXPECT_EQ(NrLineSettings::NormalisedByteSize(static_cast<quint8>(size)), size);
}

TEST(LineSettings, EventMaskAlwaysAsksForReceivedCharacters) {
    EXPECT_EQ(NrLineSettings::EventMaskFor({}), NrEv::RxChar);
    EXPECT_EQ(NrLineSettings::EventMaskFor({tsTxEmpty, tsRing}), NrEv::RxChar | NrEv::TxEmpty | NrEv::Ring);
    EXPECT_EQ(NrLineSettings::EventMaskFor({tsEvent2}) & NrEv::PrinterErr, 0u);
    // Receive-character and output-empty bits are not trace states.
    EXPECT_TRUE(NrLineSettings::TraceStatesFor(NrEv::RxChar | NrEv::TxEmpty).IsEmpty());
    EXPECT_EQ(NrLineSettings::TraceStatesFor(NrEv::Cts | NrEv::Rx80Full), (TTraceStates{tsCTS, tsRx80Full}));
}

TEST(LineSettings, RecordBytesRoundTrip) {
    TDCB dcb;
    dcb.BaudRate = 115200;
    dcb.Flags = 0x2015;
    dcb.ByteSize = 7;
    dcb.Parity = pMark;
    dcb.EvtChar = '\r';
    const QByteArray bytes = NrLineSettings::DcbToBytes(dcb);
    ASSERT_EQ(bytes.size(), 28);
    EXPECT_EQ(static_cast<uchar>(bytes[4]), 0x00); // 115200 = 0x0001C200, little-endian
    EXPECT_EQ(static_cast<uchar>(bytes[5]), 0xC2);
    EXPECT_EQ(static_cast<uchar>(bytes[6]), 0x01);
    const TDCB back = NrLineSettings::DcbFromBytes(bytes);
    EXPECT_EQ(back.BaudRate, dcb.BaudRate);
    EXPECT_EQ(back.Flags, dcb.Flags);
    EXPECT_EQ(back.ByteSize, 7);
    EXPECT_EQ(back.Parity, pMark);
    EXPECT_EQ(back.EvtChar, '\r');
}

TEST(TermiosMapping, FormatsRoundTrip) {
    struct Case {
        quint8 byteSize;
        TParity parity;
        TStopBits stop;
        tcflag_t csize;
        tcflag_t parityBits;
    };
    const Case cases[] = {
        {8, pNone, sbOne, CS8, 0},
        {7, pEven, sbTwo, CS7, PARENB},
        {6, pOdd, sbOne, CS6, PARENB | PARODD},
        {5, pMark, sbOne, CS5, PARENB | PARODD | CMSPAR},
        {8, pSpace, sbTwo, CS8, PARENB | CMSPAR},
    };
    for (const Case& c : cases) {
        TDCB dcb;
        dcb.BaudRate = 9600;
        dcb.ByteSize = c.byteSize;
        dcb.Parity = c.parity;
        dcb.StopBits = c.stop;
        termios t{};
        EXPECT_TRUE(TermiosMapping::ToTermios(dcb, t));
        EXPECT_EQ(t.c_cflag & CSIZE, c.csize);
        EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), c.parityBits);
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.stop == sbTwo);
        EXPECT_TRUE(t.c_cflag & CLOCAL);
        EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
        TDCB back;
        TermiosMapping::FromTermios(t, 9600, back);
        EXPECT_EQ(back.ByteSize, c.byteSize);
        EXPECT_EQ(back.Parity, c.parity);
        EXPECT_EQ(back.StopBits, c.stop);
    }
}

TEST(TermiosMapping, FlowControlAndCustomRates) {
    TDCB dcb;
    NrLineSettings::ApplyStreamProtocol(dcb, spHardware);
    termios t{};
    TermiosMapping::ToTermios(dcb, t);
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
    NrLineSettings::ApplyStreamProtocol(dcb, spXonXoff);
    TermiosMapping::ToTermios(dcb, t);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    dcb.BaudRate = 12345;
    EXPECT_FALSE(TermiosMapping::ToTermios(dcb, t)); // needs the custom-rate call
    dcb.BaudRate = 300;
    EXPECT_TRUE(TermiosMapping::ToTermios(dcb, t));
    EXPECT_EQ(cfgetospeed(&t), speed_t(B300));
}

} // namespace
