#include "app/startup.h"
#include "runtime/form_engine.h"
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
    return rt::start(window::form1Description(), window::wireForm1);
}
