#include "app/startup.h"
#include "runtime/qt/qt_form.h"
#include "window/form1.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[]) {
    std::unique_ptr<QApplication> application;
    {
        const app::NoDisplayGuard guard;
        application = std::make_unique<QApplication>(argc, argv);
    }
    app::describeApplication();

    rt::QtForm form(window::form1Description());
    window::wireForm1(form);
    return rt::run(form);
}
