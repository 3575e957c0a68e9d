#include "TermiosMapping.h"

namespace TermiosMapping {

namespace {
struct SpeedEntry {
    quint32 baud;
    speed_t speed;
};
constexpr SpeedEntry kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};
} // namespace

speed_t StandardSpeed(quint32 baud) {
    for (const SpeedEntry& e : kSpeeds)
        if (e.baud == baud)
            return e.speed;
    return 0;
}

quint32 BaudOf(speed_t speed) {
    for (const SpeedEntry& e : kSpeeds)
        if (e.speed == speed)
            return e.baud;
    return 0;
}

bool ToTermios(const TDCB& dcb, termios& t) {
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK |
                   IGNPAR | IUCLC | IMAXBEL);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;

    switch (dcb.ByteSize) {
    case 5:
        t.c_cflag |= CS5;
        break;
    case 6:
        t.c_cflag |= CS6;
        break;
    case 7:
        t.c_cflag |= CS7;
        break;
    default:
        t.c_cflag |= CS8;
        break;
    }
    switch (dcb.Parity) {
    case pOdd:
        t.c_cflag |= PARENB | PARODD;
        break;
    case pEven:
        t.c_cflag |= PARENB;
        break;
    case pMark:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case pSpace:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    if (t.c_cflag & PARENB)
        t.c_iflag |= INPCK;
    // Linux has no one-and-a-half stop bits; two is the nearest the line can do.
    if (dcb.StopBits != sbOne)
        t.c_cflag |= CSTOPB;
    if (dcb.Flags & NrDcb::fOutX)
        t.c_iflag |= IXON;
    if (dcb.Flags & NrDcb::fInX)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    // One flag does both directions of the RTS/CTS handshake.
    if ((dcb.Flags & NrDcb::fOutxCtsFlow) ||
        (dcb.Flags & NrDcb::fRtsControlMask) == NrDcb::fRtsControlHandshake)
        t.c_cflag |= CRTSCTS;

    const speed_t speed = StandardSpeed(dcb.BaudRate);
    if (speed == 0)
        return false;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    // The C library sets only the output-rate field; the kernel then keeps the input rate of an
    // earlier custom rate (CIBAUD still says "other"). A zero CIBAUD makes input follow output.
    t.c_cflag &= ~CIBAUD;
    return true;
}

void FromTermios(const termios& t, quint32 baud, TDCB& dcb) {
    if (baud != 0)
        dcb.BaudRate = baud;
    switch (t.c_cflag & CSIZE) {
    case CS5:
        dcb.ByteSize = 5;
        break;
    case CS6:
        dcb.ByteSize = 6;
        break;
    case CS7:
        dcb.ByteSize = 7;
        break;
    default:
        dcb.ByteSize = 8;
        break;
    }
    if (!(t.c_cflag & PARENB))
        dcb.Parity = pNone;
    else if (t.c_cflag & CMSPAR)
        dcb.Parity = (t.c_cflag & PARODD) ? pMark : pSpace;
    else
        dcb.Parity = (t.c_cflag & PARODD) ? pOdd : pEven;
    dcb.Flags = (t.c_cflag & PARENB) ? dcb.Flags | NrDcb::fParity : dcb.Flags & ~NrDcb::fParity;
    if (!(t.c_cflag & CSTOPB))
        dcb.StopBits = sbOne;
    else if (dcb.StopBits == sbOne)
        dcb.StopBits = sbTwo;
    dcb.Flags = (t.c_iflag & IXON) ? dcb.Flags | NrDcb::fOutX : dcb.Flags & ~NrDcb::fOutX;
    dcb.Flags = (t.c_iflag & IXOFF) ? dcb.Flags | NrDcb::fInX : dcb.Flags & ~NrDcb::fInX;
    dcb.XonChar = static_cast<char>(t.c_cc[VSTART]);
    dcb.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
    if (t.c_cflag & CRTSCTS) {
        dcb.Flags |= NrDcb::fOutxCtsFlow;
        dcb.Flags = (dcb.Flags & ~NrDcb::fRtsControlMask) | NrDcb::fRtsControlHandshake;
    } else {
        dcb.Flags &= ~NrDcb::fOutxCtsFlow;
        if ((dcb.Flags & NrDcb::fRtsControlMask) == NrDcb::fRtsControlHandshake)
            dcb.Flags &= ~NrDcb::fRtsControlMask;
    }
}

} // namespace TermiosMapping
