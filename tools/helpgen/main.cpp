// hlpgen: the build's Windows Help compiler, run on the build machine.
//
//   hlpgen PROJECT.hhp OUT.hlp OUT.cnt   writes the help file and its contents
//                                        file from the HTML Help project
//   hlpgen --check FILE.hlp              reads a help file back and prints its
//                                        title, topics and context numbers, or
//                                        says that it is damaged and where
// Exit code 0, or 1 with the reason on standard error.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

#include "help_source.h"
#include "hlp_check.h"
#include "hlp_writer.h"

namespace {

void writeFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) throw std::runtime_error("cannot write " + path);
}

helpgen::Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return helpgen::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void print(const helpgen::HlpContents& contents) {
    std::cout << "title\t" << contents.title << "\n";
    for (const std::string& title : contents.topicTitles) std::cout << "topic\t" << title << "\n";
    for (const auto& [number, title] : contents.contextTitles) std::cout << "context " << number << "\t" << title << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::string(argv[1]) == "--check") {
            helpgen::Bytes hlp = readFile(argv[2]);
            try {
                print(helpgen::readHlp(hlp));
            } catch (const std::runtime_error& damage) {
                throw std::runtime_error(std::string(argv[2]) + " is damaged: " + damage.what());
            }
            return 0;
        }
        if (argc != 4) {
            std::cerr << "usage: hlpgen PROJECT.hhp OUT.hlp OUT.cnt | hlpgen --check FILE.hlp\n";
            return 1;
        }
        helpgen::HelpProject help = helpgen::readProject(argv[1]);
        helpgen::Bytes hlp = helpgen::writeHlp(help);
        try {
            helpgen::readHlp(hlp);  // what the viewer would refuse fails the build here
        } catch (const std::runtime_error& damage) {
            throw std::runtime_error(std::string("the help file written does not read back: ") + damage.what());
        }
        std::string hlpPath = argv[2];
        std::size_t slash = hlpPath.find_last_of("/\\");
        std::string cnt = helpgen::writeCnt(help, slash == std::string::npos ? hlpPath : hlpPath.substr(slash + 1));
        writeFile(argv[2], hlp.data(), hlp.size());
        writeFile(argv[3], cnt.data(), cnt.size());
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "hlpgen: " << error.what() << "\n";
        return 1;
    }
}
