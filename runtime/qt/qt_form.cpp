#include "runtime/qt/qt_form.h"

#include "runtime/dispatcher.h"
#include "runtime/qt/qt_text.h"
#include "runtime/twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <algorithm>
#include <limits>

namespace rt {

namespace {

QFont fontFor(const FontStyle& style) {
    QFont font(toQString(style.family));
    font.setPointSizeF(style.points);
    font.setBold(style.bold);
    font.setUnderline(style.underline);
    return font;
}

QColor colourOr(Rgb colour, const QColor& standard) {
    return colour == kStandard ? standard : QColor::fromRgb(colour);
}

QRect toQRect(const Box& box) {
    return {box.left, box.top, box.width, box.height};
}

} // namespace

QtForm::QtForm(const FormDescription& description, QWidget* parent)
    : QWidget(parent)
    , m_description(description) {
    const WindowRecord& window = m_description.window;
    const double dpi = screen()->logicalDotsPerInch();

    setObjectName(toQString(window.name));
    setWindowTitle(toQString(window.caption));
    setFont(fontFor(window.font));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(window.back));
    setPalette(palette);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    resize(twipsToPixels(window.clientWidth, dpi), twipsToPixels(window.clientHeight, dpi));

    checkControlNames(m_description);
    std::vector<std::pair<int, QWidget*>> tabStops;
    m_controls.reserve(m_description.controls.size());
    for (const ControlRecord& record : m_description.controls) {
        const QString name = toQString(record.name);
        const QRect geometry = toQRect(twipsToPixels(record.box(), dpi));
        QWidget* widget = nullptr;
        switch (record.kind) {
        case ControlKind::TextField: {
            auto* field = new QLineEdit(this);
            field->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            field->setMaxLength(std::numeric_limits<int>::max());
            field->setReadOnly((record.flags & kLocked) != 0);
            field->setAccessibleName(toQString(record.accessibleName));
            widget = field;
            break;
        }
        case ControlKind::CommandButton: {
            const QString caption = toQString(record.text);
            auto* button = new QPushButton(caption, this);
            button->setAutoDefault(false);
            // The button's own accelerator would take the focus and click only after a pause;
            // this one clicks at once and leaves the focus where it is.
            button->setShortcut(QKeySequence());
            const QKeySequence accelerator = QKeySequence::mnemonic(caption);
            if (!accelerator.isEmpty()) {
                auto* shortcut = new QShortcut(accelerator, this);
                connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
            }
            if ((record.flags & kDefaultButton) != 0) {
                button->setDefault(true);
                m_defaultButton = button;
            }
            widget = button;
            break;
        }
        case ControlKind::Label:
        case ControlKind::Rectangle:
            break;
        }
        if (widget != nullptr) {
            widget->setObjectName(name);
            widget->setGeometry(geometry);
            if (record.font != nullptr) {
                widget->setFont(fontFor(*record.font));
            }
            if (record.tabIndex != kNoTabStop) {
                tabStops.emplace_back(record.tabIndex, widget);
            }
        }
        m_controls.push_back({&record, geometry, widget, {}});
    }

    // Widgets were created topmost first; raising them in reverse keeps that stacking.
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        if (it->widget != nullptr) {
            it->widget->raise();
        }
    }
    std::stable_sort(tabStops.begin(), tabStops.end(),
                     [](const auto& l, const auto& r) { return l.first < r.first; });
    for (size_t i = 1; i < tabStops.size(); ++i) {
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    }
    if (!tabStops.empty()) {
        tabStops.front().second->setFocus();
    }
}

void QtForm::onClick(std::u16string_view name, std::function<void()> handler) {
    Control& target = control(name);
    switch (target.record->kind) {
    case ControlKind::CommandButton:
        connect(static_cast<QPushButton*>(target.widget), &QPushButton::clicked, this,
                [h = std::move(handler)] { dispatch(h); });
        return;
    case ControlKind::Label:
        target.clickHandler = std::move(handler);
        return;
    case ControlKind::TextField:
    case ControlKind::Rectangle:
        break;
    }
    fatal("this control takes no clicks:", name);
}

const QtForm::Control& QtForm::control(std::u16string_view name) const {
    return m_controls[controlIndex(m_description, name)];
}

QtForm::Control& QtForm::control(std::u16string_view name) {
    return m_controls[controlIndex(m_description, name)];
}

QLineEdit* QtForm::textField(std::u16string_view name) const {
    const Control& field = control(name);
    if (field.record->kind != ControlKind::TextField) {
        fatal("this control is no text field:", name);
    }
    return static_cast<QLineEdit*>(field.widget);
}

QPushButton* QtForm::button(std::u16string_view name) const {
    const Control& button = control(name);
    if (button.record->kind != ControlKind::CommandButton) {
        fatal("this control is no button:", name);
    }
    return static_cast<QPushButton*>(button.widget);
}

std::u16string QtForm::fieldText(std::u16string_view name) const {
    return toU16String(textField(name)->text());
}

void QtForm::setFieldText(std::u16string_view name, std::u16string_view text) {
    textField(name)->setText(toQString(text));
}

NativeHandle QtForm::nativeHandle() {
    return static_cast<NativeHandle>(winId());
}

QRect QtForm::controlGeometry(std::u16string_view name) const {
    return control(name).geometry;
}

void QtForm::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QColor standardText = palette().color(QPalette::WindowText);
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        const ControlRecord& record = *it->record;
        const QRect& box = it->geometry;
        if (record.kind == ControlKind::Label) {
            painter.save();
            painter.setClipRect(box);
            painter.fillRect(box, colourOr(record.colours.back, palette().color(QPalette::Window)));
            painter.setFont(record.font != nullptr ? fontFor(*record.font) : font());
            painter.setPen(colourOr(record.colours.text, standardText));
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                             toQString(record.text));
            painter.restore();
        } else if (record.kind == ControlKind::Rectangle) {
            if (record.colours.back != kStandard) {
                painter.fillRect(box, QColor::fromRgb(record.colours.back));
            }
            // A one-pixel line just inside the box, crisp at whole scale factors.
            painter.setPen(QPen(colourOr(record.colours.border, standardText), 1.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
        }
    }
}

void QtForm::keyPressEvent(QKeyEvent* event) {
    // Text fields let Enter through to their window, which gives it to the default button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain && m_defaultButton != nullptr && m_defaultButton->isEnabled()) {
        m_defaultButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

const QtForm::Control* QtForm::labelAt(const QPoint& position) const {
    for (const Control& candidate : m_controls) {
        if (candidate.record->kind == ControlKind::Label && candidate.geometry.contains(position)) {
            return &candidate;
        }
    }
    return nullptr;
}

void QtForm::mousePressEvent(QMouseEvent* event) {
    m_pressedLabel =
        event->button() == Qt::LeftButton ? labelAt(event->position().toPoint()) : nullptr;
    QWidget::mousePressEvent(event);
}

void QtForm::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first half of a double-click was a click already; the second half is not another.
    m_pressedLabel = nullptr;
    m_swallowRelease = true;
    QWidget::mouseDoubleClickEvent(event);
}

void QtForm::mouseReleaseEvent(QMouseEvent* event) {
    const Control* pressed = std::exchange(m_pressedLabel, nullptr);
    if (std::exchange(m_swallowRelease, false) || event->button() != Qt::LeftButton) {
        return;
    }
    // A click is a press and a release on the same label, as with any button.
    if (pressed != nullptr && pressed == labelAt(event->position().toPoint()) &&
        pressed->clickHandler) {
        dispatch(pressed->clickHandler);
    }
}

int run(QtForm& form) {
    const QRect available = form.screen()->availableGeometry();
    form.move(available.center() - form.rect().center());
    form.show();
    return QApplication::exec();
}

} // namespace rt
