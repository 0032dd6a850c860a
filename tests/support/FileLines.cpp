#include "FileLines.h"

#include <fstream>
#include <sstream>

namespace quorvane::support {

std::string FileLines::read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> FileLines::lines(const std::string& file) {
    std::vector<std::string> out;
    const std::string text = read(file);
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            out.push_back(text.substr(at) + "<cut>");
            break;
        }
        out.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return out;
}

} // namespace quorvane::support
