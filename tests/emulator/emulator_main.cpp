// kardun_emulator: a controller on a pseudo-terminal, for running the program without
// a controller. Prints the slave path and answers until it is stopped. Its boot loader
// takes over at the first loader poll and hands back at the first probe.
//
//   kardun_emulator [--link PATH] [--reply-delay MS] [--status N] [--version X.YY]
//                   [--name NAME] [--loader-version N] [--loader-type C] [--verbose]
#include "emulator/Emulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t stop_requested = 0;
void On_Signal(int) { stop_requested = 1; }

void Usage()
{
    std::fprintf(stderr,
                 "usage: kardun_emulator [--link PATH] [--reply-delay MS] [--status N]\n"
                 "                       [--version X.YY] [--name NAME] [--loader-version N]\n"
                 "                       [--loader-type C] [--verbose]\n");
}
}  // namespace

int main(int argc, char** argv)
{
    std::string link;
    int delay = 0;
    bool verbose = false;
    emu::Controller_Emulator emulator;
    emu::Ident_Settings ident = emulator.Ident();
    emu::Loader_Settings loader;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "kardun_emulator: %s needs a value\n", name);
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--link") link = value("--link");
        else if (a == "--reply-delay") delay = std::atoi(value("--reply-delay"));
        else if (a == "--status") ident.Status = static_cast<uint8_t>(std::atoi(value("--status")));
        else if (a == "--version") ident.Program_Version = value("--version");
        else if (a == "--name") ident.Program_Name = value("--name");
        else if (a == "--loader-version")
            loader.Version = static_cast<uint8_t>(std::atoi(value("--loader-version")));
        else if (a == "--loader-type") loader.Type = static_cast<uint8_t>(value("--loader-type")[0]);
        else if (a == "--verbose") verbose = true;
        else if (a == "--help" || a == "-h") { Usage(); return 0; }
        else { Usage(); return 2; }
    }
    emulator.Set_Ident(ident);
    emulator.Set_Reply_Delay(delay);
    emulator.Set_Loader(loader);
    emulator.Set_Loader_Auto(true);

    std::string error;
    if (!emulator.Start(&error)) {
        std::fprintf(stderr, "kardun_emulator: %s\n", error.c_str());
        return 1;
    }
    if (!link.empty() && !emulator.Set_Link_Path(link, &error)) {
        std::fprintf(stderr, "kardun_emulator: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", emulator.Slave_Path().c_str());
    std::fflush(stdout);

    std::signal(SIGINT, On_Signal);
    std::signal(SIGTERM, On_Signal);
    std::signal(SIGHUP, On_Signal);
    size_t shown = 0;
    while (!stop_requested) {
        usleep(100000);
        if (verbose) {
            auto log = emulator.Log();
            for (; shown < log.size(); ++shown) {
                std::string line = log[shown].complete ? (log[shown].sum_ok ? "rx" : "rx bad sum")
                                                       : "rx unframed";
                for (uint8_t b : log[shown].request) {
                    char h[4];
                    std::snprintf(h, sizeof h, " %02X", b);
                    line += h;
                }
                std::printf("%s\n", line.c_str());
            }
            std::fflush(stdout);
        }
    }
    emulator.Stop();
    return 0;
}
