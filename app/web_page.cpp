// Writes the web page's window into its template: the markup into index.html, the styles that
// place and paint it after the page's own. Run by the build, under Node, so that the page shows
// the window in its first frame and the module only attaches to it.
//
//   melkora-web-page <index.html.in> <base.css> <index.html> <melkora.css>

#include "runtime/web/web_markup.h"
#include "window/form1.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool read(const char* path, std::string& into) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    into = text.str();
    return static_cast<bool>(file);
}

bool write(const char* path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file.flush());
}

bool replace(std::string& text, const std::string& marker, const std::string& by) {
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) {
        return false;
    }
    text.replace(at, marker.size(), by);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 5) {
        std::fputs("usage: melkora-web-page <index.html.in> <base.css> <index.html> <melkora.css>\n",
                   stderr);
        return 2;
    }
    const rt::FormDescription& description = window::form1Description();
    const rt::FormLayout layout = rt::layOut(description, 96.0);
    std::string page;
    std::string styles;
    if (!read(argv[1], page) || !read(argv[2], styles)) {
        std::fprintf(stderr, "melkora-web-page: cannot read %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    if (!replace(page, "{{caption}}", rt::web::toUtf8(description.window.caption)) ||
        !replace(page, "{{window}}", rt::web::windowMarkup(layout))) {
        std::fprintf(stderr, "melkora-web-page: %s lacks {{caption}} or {{window}}\n", argv[1]);
        return 1;
    }
    styles += rt::web::windowStyles(layout);
    if (!write(argv[3], page) || !write(argv[4], styles)) {
        std::fprintf(stderr, "melkora-web-page: cannot write %s or %s\n", argv[3], argv[4]);
        return 1;
    }
    return 0;
}
