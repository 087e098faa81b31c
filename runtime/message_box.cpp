#include "runtime/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace rt {

namespace {

void showModalBox(const QString& text) {
    // The active window is the program's own while one of its handlers runs.
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::WindowModal);
    // Some platform themes put a symbol on dialog buttons; this box shows none at all.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

MessagePresenter& presenter() {
    static MessagePresenter current = showModalBox;
    return current;
}

} // namespace

void messageBox(const QString& text) {
    presenter()(text);
}

ScopedMessagePresenter::ScopedMessagePresenter(MessagePresenter replacement)
    : m_previous(std::exchange(presenter(), std::move(replacement))) {
}

ScopedMessagePresenter::~ScopedMessagePresenter() {
    presenter() = std::move(m_previous);
}

} // namespace rt
