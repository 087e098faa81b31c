#include "runtime/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace rt {

namespace {

void showModalBox(const QString& text) {
    // The active window is the program's own while one of its handlers runs.
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

MessagePresenter& presenter() {
    static MessagePresenter current = showModalBox;
    return current;
}

} // namespace

void messageBox(const QString& text) { presenter()(text); }

ScopedMessagePresenter::ScopedMessagePresenter(MessagePresenter replacement)
    : m_previous(std::exchange(presenter(), std::move(replacement))) {}

ScopedMessagePresenter::~ScopedMessagePresenter() { presenter() = std::move(m_previous); }

} // namespace rt
