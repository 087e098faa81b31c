// The toolkit's floor for the start-up benchmark: the plainest Qt Widgets window, a few line
// edits on a plain widget, at the size given as WIDTHxHEIGHT so that its backing store weighs
// what Melkora's does. Whatever Melkora costs beyond this is ours.

#include <QApplication>
#include <QLineEdit>
#include <QWidget>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    int width = 0;
    int height = 0;
    if (argc != 2 || std::sscanf(argv[1], "%dx%d", &width, &height) != 2 || width < 100 ||
        height < 50) {
        std::fputs("usage: melkora_floor_window WIDTHxHEIGHT\n", stderr);
        return 2;
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.resize(width, height);
    constexpr int kFields = 6;
    const int step = (width - 16) / kFields;
    for (int i = 0; i < kFields; ++i) {
        auto* field = new QLineEdit(&window);
        field->setGeometry(8 + i * step, 8, step - 8, 30);
    }
    window.show();
    return application.exec();
}
