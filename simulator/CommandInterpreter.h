// The control language of the simulated unit (README.md). Every command is checked in full
// before anything changes, so a refused command leaves the simulator as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class Simulator;

class CommandInterpreter {
public:
    explicit CommandInterpreter(Simulator& sim) : sim_(sim) {}

    // "ok", "error: <reason>", or the command's output lines.
    std::string execute(std::string_view text);

private:
    struct Request {
        std::string_view text;
        std::vector<std::string_view> args;  // the words after the command's name
        int unit = 0;
    };
    using Handler = std::string (CommandInterpreter::*)(const Request&);
    struct Command {
        const char* name;
        const char* usage;
        int minArgs;
        int maxArgs;      // -1: the last argument runs to the end of the line
        bool unitScoped;  // takes an optional "unit <n>" prefix
        Handler handler;
    };
    static const Command kCommands[];

    std::string help(const Request&);
    std::string status(const Request&);
    std::string log(const Request&);
    std::string reset(const Request&);
    std::string reload(const Request&);
    std::string plug(const Request&);
    std::string unplug(const Request&);
    std::string led(const Request&);
    std::string knob(const Request&);
    std::string name(const Request&);
    std::string channelStatus(const Request&);
    std::string unitStatus(const Request&);
    std::string triggered(const Request&);
    std::string fail(const Request&);
    std::string delay(const Request&);

    std::string setPlugged(const Request& request, bool plugged);

    Simulator& sim_;
};
