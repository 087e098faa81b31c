#include "runtime/form.h"

#include "runtime/dispatcher.h"
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

QFont fontFor(const FontSpec& style) {
    QFont font(QString::fromLatin1(style.family));
    font.setPointSizeF(style.points);
    font.setBold(style.bold);
    font.setUnderline(style.underline);
    return font;
}

QColor colourOr(QRgb colour, const QColor& standard) {
    return colour == kStandard ? standard : QColor::fromRgb(colour);
}

} // namespace

Form::Form(const FormDescription& description, QWidget* parent)
    : QWidget(parent)
    , m_description(description) {
    const WindowRecord& window = m_description.window;
    const double dpi = screen()->logicalDotsPerInch();

    setObjectName(QString::fromLatin1(window.name));
    setWindowTitle(QString::fromUtf8(window.caption));
    setFont(fontFor(window.font));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(window.back));
    setPalette(palette);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    resize(twipsToPixels(window.clientWidth, dpi), twipsToPixels(window.clientHeight, dpi));

    std::vector<std::pair<int, QWidget*>> tabStops;
    m_controls.reserve(m_description.controls.size());
    for (const ControlRecord& record : m_description.controls) {
        const QString name = QString::fromLatin1(record.name);
        if (m_index.contains(name)) {
            qFatal("window description holds the control name %s twice", record.name);
        }
        const QRect geometry =
            twipsToPixels(QRect(record.left, record.top, record.width, record.height), dpi);
        QWidget* widget = nullptr;
        switch (record.kind) {
        case ControlKind::TextField: {
            auto* field = new QLineEdit(this);
            field->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            field->setMaxLength(std::numeric_limits<int>::max());
            field->setReadOnly((record.flags & kLocked) != 0);
            field->setAccessibleName(QString::fromUtf8(record.accessibleName));
            widget = field;
            break;
        }
        case ControlKind::CommandButton: {
            const QString caption = QString::fromUtf8(record.text);
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
        m_index.insert(name, static_cast<qsizetype>(m_controls.size()));
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

void Form::onClick(QStringView name, std::function<void()> handler) {
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
    qFatal("control %s takes no clicks", target.record->name);
}

const Form::Control& Form::control(QStringView name) const {
    const auto it = m_index.constFind(name.toString());
    if (it == m_index.constEnd()) {
        qFatal("window %s has no control named %s", m_description.window.name,
               qPrintable(name.toString()));
    }
    return m_controls[static_cast<size_t>(*it)];
}

Form::Control& Form::control(QStringView name) {
    return const_cast<Control&>(std::as_const(*this).control(name));
}

QLineEdit* Form::textField(QStringView name) const {
    const Control& field = control(name);
    if (field.record->kind != ControlKind::TextField) {
        qFatal("control %s is no text field", field.record->name);
    }
    return static_cast<QLineEdit*>(field.widget);
}

QPushButton* Form::button(QStringView name) const {
    const Control& button = control(name);
    if (button.record->kind != ControlKind::CommandButton) {
        qFatal("control %s is no button", button.record->name);
    }
    return static_cast<QPushButton*>(button.widget);
}

QString Form::fieldText(QStringView name) const {
    return textField(name)->text();
}

void Form::setFieldText(QStringView name, const QString& text) {
    textField(name)->setText(text);
}

WId Form::nativeHandle() {
    return winId();
}

QRect Form::controlGeometry(QStringView name) const {
    return control(name).geometry;
}

void Form::paintEvent(QPaintEvent* /*event*/) {
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
                             QString::fromUtf8(record.text));
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

void Form::keyPressEvent(QKeyEvent* event) {
    // Text fields let Enter through to their window, which gives it to the default button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain && m_defaultButton != nullptr && m_defaultButton->isEnabled()) {
        m_defaultButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

const Form::Control* Form::labelAt(const QPoint& position) const {
    for (const Control& candidate : m_controls) {
        if (candidate.record->kind == ControlKind::Label && candidate.geometry.contains(position)) {
            return &candidate;
        }
    }
    return nullptr;
}

void Form::mousePressEvent(QMouseEvent* event) {
    m_pressedLabel =
        event->button() == Qt::LeftButton ? labelAt(event->position().toPoint()) : nullptr;
    QWidget::mousePressEvent(event);
}

void Form::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first half of a double-click was a click already; the second half is not another.
    m_pressedLabel = nullptr;
    m_swallowRelease = true;
    QWidget::mouseDoubleClickEvent(event);
}

void Form::mouseReleaseEvent(QMouseEvent* event) {
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

int run(Form& form) {
    const QRect available = form.screen()->availableGeometry();
    form.move(available.center() - form.rect().center());
    form.show();
    return QApplication::exec();
}

} // namespace rt
