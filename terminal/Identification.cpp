#include "terminal/Identification.h"

#include "terminal/Dio.h"
#include "terminal/Watchdog.h"

#include "protocol/Commands.h"

namespace tkm::terminal {

namespace proto = tkm::protocol;

namespace {

Fault Overtaken(const proto::Command& command) {
    return Fault{Fault::Kind::Overtaken, command, {}, {}};
}

} // namespace

Result<> Identify(TerminalLine& line, int address, DeviceData& data, const IdentifyOptions& options,
                  IdentifyObserver& observer) {
    data.deviceName.clear();
    data.firmware.clear();
    data.configuration.baudCode.clear();
    data.configuration.codePageCode.clear();
    data.configuration.formatCode.clear();
    data.direction.clear();
    data.powerOn.clear();
    data.safe.clear();
    observer.emptied();

    auto ask = [&](const proto::Command& command) -> Result<std::string> {
        Result<std::string> reply = Ask(line, command);
        if (reply && !observer.current())
            return Overtaken(command);
        return reply;
    };
    auto askLineByte = [&](const proto::Command& command) -> Result<std::string> {
        Result<std::string> reply = ReadLineByte(line, command);
        if (reply && !observer.current())
            return Overtaken(command);
        return reply;
    };
    // The DIO bytes are taken as sent unless replies are checked.
    auto askByte = [&](const proto::Command& command) {
        return options.replies == Replies::Checked ? askLineByte(command) : ask(command);
    };

    const Result<std::string> name = ask(proto::ReadDeviceName(address));
    if (!name)
        return name.fault();
    const Result<std::string> firmware = ask(proto::ReadFirmware(address));
    if (!firmware)
        return firmware.fault();
    const Result<std::string> direction = askByte(proto::ReadDirection(address));
    if (!direction)
        return direction.fault();
    const Result<std::string> powerOn = askByte(proto::ReadPowerOnValue(address));
    if (!powerOn)
        return powerOn.fault();
    const Result<std::string> safe = askByte(proto::ReadSafeValue(address));
    if (!safe)
        return safe.fault();

    const Result<std::string> lines = askLineByte(proto::ReadLineState(address));
    if (!lines) {
        // The lines are unknown now, unless this identification no longer speaks for them.
        if (observer.current())
            data.lineState.clear();
        return lines.fault();
    }
    data.lineState = *lines;
    observer.linesRead();

    if (options.clearDisplay) {
        if (const Result<std::string> cleared = ask(proto::ClearDisplay(address)); !cleared)
            return cleared.fault();
    }

    const Result<Configuration> configuration = ReadConfiguration(line, address, options.replies);
    if (!configuration)
        return configuration.fault();
    if (!observer.current())
        return Overtaken(proto::ReadConfiguration(address));
    data.configuration = *configuration;

    if (const Result<> watchdog = ReadWatchdog(line, address, data.watchdog, options.replies); !watchdog)
        return watchdog.fault();
    if (!observer.current())
        return Overtaken(proto::ReadWatchdogState(address));
    observer.watchdogRead();

    data.deviceName = proto::DecodeDeviceName(*name);
    data.firmware = proto::DecodeFirmware(*firmware);
    data.direction = *direction;
    data.powerOn = *powerOn;
    data.safe = *safe;
    observer.filled();
    if (!observer.current())
        return Overtaken({});
    return Done();
}

Result<> Identify(TerminalLine& line, int address, DeviceData& data, const IdentifyOptions& options) {
    IdentifyObserver nobody;
    return Identify(line, address, data, options, nobody);
}

} // namespace tkm::terminal
