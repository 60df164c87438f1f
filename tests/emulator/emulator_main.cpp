// kardun_emulator: a controller on a pseudo-terminal, for running the program without
// a controller. Prints the slave path and answers until it is stopped. Its boot loader
// takes over at the first loader poll and hands back at the first probe.
//
//   kardun_emulator [--link PATH] [--reply-delay MS] [--status N] [--version X.YY]
//                   [--name NAME] [--loader-version N] [--loader-type C]
//                   [--firmware-set FOLDER] [--verbose]
//
// --firmware-set writes a firmware file for the boot loader's type into FOLDER
// (Emulator_.hex: records of every kind) to load with the program's loader.
#include "common/Firmware_Writer.h"
#include "emulator/Emulator.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t stop_requested = 0;
void On_Signal(int) { stop_requested = 1; }

// A firmware set for a boot loader of `type`: an information record (type 'D' only), then
// records of every kind.
bool Write_Firmware_Set(const std::string& folder, uint8_t type)
{
    fw::Writer w(type);
    if (type == 'D')
        w.Record(0x60, fw::Info_Data("EMULATOR_PROG", "01.01.2024", "1.00"));
    for (uint8_t i = 0; i < 8; ++i) {
        w.Short(fw::Counting(5 + i, i));
        w.Record(static_cast<uint8_t>(0x10 + i), fw::Counting(18 + i, static_cast<uint8_t>(30 + i)));
        w.Scrambled(static_cast<uint8_t>(0x90 + i), fw::Counting(18 + i, static_cast<uint8_t>(60 + i)));
    }
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    std::ofstream out(folder + "/Emulator_.hex", std::ios::binary | std::ios::trunc);
    out << w.Text();
    return static_cast<bool>(out.flush());
}

void Usage()
{
    std::fprintf(stderr,
                 "usage: kardun_emulator [--link PATH] [--reply-delay MS] [--status N]\n"
                 "                       [--version X.YY] [--name NAME] [--loader-version N]\n"
                 "                       [--loader-type C] [--firmware-set FOLDER] [--verbose]\n");
}
}  // namespace

int main(int argc, char** argv)
{
    std::string link, firmware_folder;
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
        else if (a == "--firmware-set") firmware_folder = value("--firmware-set");
        else if (a == "--verbose") verbose = true;
        else if (a == "--help" || a == "-h") { Usage(); return 0; }
        else { Usage(); return 2; }
    }
    emulator.Set_Ident(ident);
    emulator.Set_Reply_Delay(delay);
    emulator.Set_Loader(loader);
    emulator.Set_Loader_Auto(true);
    if (!firmware_folder.empty() && !Write_Firmware_Set(firmware_folder, loader.Type)) {
        std::fprintf(stderr, "kardun_emulator: cannot write %s/Emulator_.hex\n", firmware_folder.c_str());
        return 1;
    }

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
