#include "window/publisher.h"

#include "runtime/platform.h"

#include <string>

namespace window {

namespace {

rt::Binding<rt::ShellExecute> bindingOf(const rt::ShellFacility& facility) {
    return {std::u16string(facility.library), std::u16string(facility.function), facility.lookup};
}

} // namespace

PublisherLink::PublisherLink()
    : m_shell(bindingOf(rt::platform::shellFacility())) {
}

void PublisherLink::open(rt::NativeHandle window) {
    // The converted strings are the click's own, and go with it however it ends.
    const std::string operation = rt::platform::toNarrowText(kHomePage.operation);
    const std::string address = rt::platform::toNarrowText(kHomePage.address);
    const rt::ShellExecute& shell = m_shell.get();
    shell({window, operation, address, kHide});
}

} // namespace window
