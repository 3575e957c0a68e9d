#pragma once

#include <QJsonObject>
#include <QString>

#include <string>

class ToolLine;
namespace tkm::terminal {
struct Configuration;
}

// The terminal's configuration as it reports it ($AA2), checked: a baud code of the list, a code page
// the terminal has, a format code of 40 or 00.
struct TerminalConfig {
    int address = 0;
    int baudIndex = 5;
    int codePageIndex = 1; // 0 CP-866, 1 WIN-1251, 2 KOI-8R
    bool checksum = false;

    // Of a configuration whose codes are checked (tkm::terminal::Replies::Checked).
    static TerminalConfig of(const tkm::terminal::Configuration& checked);
    // Throws NoAnswerError when the exchange fails or the reply is not valid.
    static TerminalConfig read(ToolLine& line);

    // {"address", "baud", "code_page", "checksum"}
    QJsonObject toJson() const;
    // "address 5 (0x05), 9600 baud, WIN-1251, checksum off"
    QString toText() const;
    bool operator==(const TerminalConfig&) const = default;
};

// What `identify` reads from the terminal at the line's address: identity, configuration, the DIO
// bytes and the watchdog. Unlike the window's identification it changes nothing on the terminal (no
// display clear). Owner thread only, like the line.
struct DeviceReport {
    int address = 0; // the address asked
    std::string name;
    std::string firmware;
    TerminalConfig config;
    std::string directions; // two upper-case hex digits each
    std::string powerOn;
    std::string safe;
    std::string lines;
    bool watchdogEnabled = false;
    int watchdogPeriodTenths = 0;

    // Reads everything; throws NoAnswerError when an exchange fails or a reply is not valid.
    static DeviceReport read(ToolLine& line);

    // {"address", "name", "firmware", "config": {"address", "baud", "code_page", "checksum"},
    //  "directions", "power_on", "safe", "lines", "watchdog": {"enabled", "period"}}
    QJsonObject toJson() const;
    QString toText() const;
};

// The code page's name ("CP-866", "WIN-1251", "KOI-8R") of a list index 0..2.
QString CodePageNameOfIndex(int index);
// A period in tenths of a second as seconds for JSON: 30 -> 3, 25 -> 2.5.
double PeriodSeconds(int tenths);
// The same as text: "3", "2.5".
QString PeriodText(int tenths);
