// Stands in for the client in update tests: notes that it ran, and with
// --wait keeps running until a "probe-quit" file appears beside it.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <thread>

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dir = fs::read_symlink("/proc/self/exe", ec).parent_path();
    if (ec) {
        return 1;
    }
    {
        std::ofstream out(dir / "probe-started.txt", std::ios::app);
        out << PROBE_VERSION << "\n";
    }
    if (argc > 1 && std::string_view(argv[1]) == "--wait") {
        for (int i = 0; i < 1200 && !fs::exists(dir / "probe-quit"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    return 0;
}
