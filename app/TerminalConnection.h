#pragma once

#include "terminal/DeviceData.h"
#include "terminal/TerminalLine.h"

#include "protocol/Transact.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The window's knowledge of the terminal on its line: the transaction links, the address and checksum
// mode the exchanges use, the device-found flag, what the last identification learnt (the cached
// device data), and the operations that fill it (identification, watchdog read, address scan).
//
// Invariant: found() is true only while the cache describes the terminal at the current address, as
// identified with the current checksum mode and baud-rate index. Only identify() sets the flag; every
// change of address, checksum mode, baud rate or port clears it, and an identification overtaken by
// such a change (or by another identification) ends false.
//
// The terminal's rules (tkm::terminal) run over this connection as their line: the window's transaction
// with its fixed reply wait, lamp, traffic log and refusal of a nested exchange.
//
// No widgets: the window shows what the connection reports through its signals and moves its controls
// through ScanControls. User-interface thread only, like the transaction it runs.
class TerminalConnection : public QObject, public tkm::terminal::TerminalLine {
    Q_OBJECT
public:
    // links.port, links.log and links.sleepMs are required (see tkm::protocol::TransactLinks); the
    // baud-rate index and checksum mode the transaction reads are this object's own.
    explicit TerminalConnection(tkm::protocol::TransactLinks links, QObject* parent = nullptr);

    // ---- The transaction ----
    std::string Transact(const tkm::protocol::Command& command);
    std::string Transact(std::string_view command, std::string_view expectedPrefix, int extraWait);
    static bool IsError(std::string_view result) { return tkm::protocol::IsTransactError(result); }
    bool portOpen() const;
    // The payload of Transact, or nothing for "error".
    std::optional<std::string> exchange(const tkm::protocol::Command& command) override;

    // The port and the reply wait the transaction uses. Changing the port loses the terminal.
    void setPort(tkm::protocol::TransactPort* port);
    // The port has opened (again): what the exchanges learnt about the line, that it echoes, is to be
    // said again.
    void portOpened() { links_.echoNoted = false; }
    void setSleep(std::function<void(int milliseconds)> sleep);

    // ---- Between the exchanges of a handler that runs several ----
    // Lets the user input held back while the last exchange waited run now, after that exchange and
    // before the next: a loop of exchanges holds a click for one exchange, never for the whole loop.
    // Does nothing inside an exchange. The caller then reads what it depends on (the scan switch, the
    // port, the address, the symbols) afresh. False once the window has been closed: the caller stops
    // without another exchange.
    bool betweenExchanges();
    // What betweenExchanges runs; it returns false once the window is closed. Empty: nothing runs.
    void setBetweenExchanges(std::function<bool()> letInputRun);

    // ---- What the exchanges use ----
    int address() const { return address_; }
    std::string addressText() const; // two upper-case hex digits
    void setAddress(int address);    // 0..255; another address loses the terminal
    bool checksumMode() const { return checksumMode_; }
    void setChecksumMode(bool on); // loses the terminal
    int baudIndex() const { return baudIndex_; }
    void setBaudIndex(int index); // 0 = 300 .. 9 = 115200; another index loses the terminal

    // ---- The device-found flag and the cache ----
    bool found() const { return found_; }
    // Clears the flag: the terminal or the connection may have changed, so the next poll tick
    // identifies again.
    void lose();
    const tkm::terminal::DeviceData& device() const { return device_; }

    // Reads the terminal's identity, configuration, lines and watchdog at the current address into the
    // cache and sets the flag to the result. Never shows a message; a non-hex watchdog period throws
    // the conversion error with the flag clear.
    bool identify();

    // The line byte last read from or written to the terminal (the DIO poll keeps it up to date).
    void setLineState(const std::string& lineByte);
    // Reads the lines at the current address into the cached line state. A reply whose payload is not
    // exactly two hex digits is a failed read; after any failure the line state is empty (unknown),
    // never "error". The byte is kept in upper case, as an LED bank reads back.
    bool readLineState();

    // Watchdog read: resets the cached enabled flag and period, then stores what the terminal reports.
    // False on a failed exchange or a reply of the wrong length; throws the conversion error for a
    // non-hex period.
    bool readWatchdog();
    // Watchdog set; only while the flag is set (else false and nothing is sent).
    bool setWatchdog(bool enabled, int periodTenths);

    // ---- Address scan ----
    // The window's controls the scan moves.
    struct ScanControls {
        std::function<bool()> scanOn;           // the Scan button is on
        std::function<void()> switchScanOff;    // switch it off
        std::function<void(int)> moveAddress;   // move the address control; its handler identifies
        std::function<void(bool)> setPollTimer; // stop / start the poll timer
    };
    // Tries the addresses above the current one until a terminal answers, the scan is switched off,
    // the port closes or the address reaches 255; back to address 0 when nothing was found. Input runs
    // between the steps, and each step starts from what it left (a terminal found by the user's own
    // move ends the scan there). A closed window ends it at once.
    void runAddressScan(const ScanControls& controls);

signals:
    // The cached identity, configuration, direction, power-on and safe values changed (emptied when an
    // identification starts, filled when it succeeds): the status bar and the DIO displays follow.
    void deviceDataChanged();
    // Identification read the lines.
    void lineStateRead(const std::string& lineByte);
    // Identification read the watchdog.
    void watchdogIdentified(bool enabled, int periodTenths);

private:
    // Anything that may make the cache stale; an identification started before it cannot succeed.
    void invalidate();

    tkm::protocol::TransactLinks links_;
    std::function<bool()> letInputRun_;
    int address_ = 0;
    bool checksumMode_ = false;
    int baudIndex_ = 5;
    bool found_ = false;
    bool identifying_ = false;
    std::uint64_t epoch_ = 0;
    tkm::terminal::DeviceData device_;
};
