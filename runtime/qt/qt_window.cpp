// The window engine's NativeWindow (runtime/platform.h) with Qt Widgets: text fields are
// QLineEdits and buttons QPushButtons, made in the layout's order, which is the focus chain's,
// each named after its control; the paint list is drawn on the window's own surface, below
// them. Keys reach the engine before the focused widget sees them; clicks on the surface and
// native button clicks after.

#include "runtime/platform.h"
#include "runtime/qt/qt_announcer.h"
#include "runtime/qt/qt_text.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QWidget>
#include <limits>
#include <vector>

namespace rt {

namespace {

QFont fontOf(const PixelFont& font) {
    QFont result(toQString(font.family));
    result.setPixelSize(font.pixels);
    result.setBold(font.bold);
    result.setUnderline(font.underline);
    return result;
}

QRect toQRect(const Box& box) {
    return {box.left, box.top, box.width, box.height};
}

char32_t keyOf(const QKeyEvent& event) {
    const int key = event.key();
    return key == Qt::Key_Return || key == Qt::Key_Enter ? kEnterKey : static_cast<char32_t>(key);
}

Point pointOf(const QMouseEvent& event) {
    const QPoint at = event.position().toPoint();
    return {at.x(), at.y()};
}

unsigned modifiersOf(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? kShift : 0u) |
           (modifiers & Qt::ControlModifier ? kControl : 0u) |
           (modifiers & Qt::AltModifier ? kAlt : 0u) | (modifiers & Qt::MetaModifier ? kMeta : 0u);
}

} // namespace

class QtWindow final : public QWidget, public NativeWindow {
public:
    explicit QtWindow(FormInput& input);

    Size outerSize(Size client, double dotsPerInch) const override;
    void open(const FormLayout& layout, std::u16string_view caption, const Box& outer) override;
    void layOutAgain() override;
    std::u16string text(ControlId field) const override;
    void setText(ControlId field, std::u16string_view text) override;
    void focus(ControlId control) override;
    // The X11 window id, or whatever the platform plugin's windows have.
    NativeHandle handle() const override;
    void announce(std::u16string_view text) override;
    std::optional<int> run() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLineEdit* field(ControlId id) const;
    void place(const NativeControl& control); // at its box, in its font

    FormInput& m_input;
    const FormLayout* m_layout = nullptr;
    std::vector<QWidget*> m_widgets; // by ControlId; nullptr for what is painted
    QtAnnouncer* m_announcer = nullptr;
};

QtWindow::QtWindow(FormInput& input)
    : m_input(input) {
}

Size QtWindow::outerSize(Size client, double /*dotsPerInch*/) const {
    // The window manager adds its frame once the window is mapped; until then Qt knows none.
    return client;
}

void QtWindow::open(const FormLayout& layout, std::u16string_view caption, const Box& outer) {
    m_layout = &layout;
    setWindowTitle(toQString(caption));
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    // The window's palette and font first: set after its children, they would be handed down
    // to each of them again before the first frame.
    m_widgets.assign(layout.boxes.size(), nullptr);
    layOutAgain();
    // Qt moves the focus in the order the widgets were made, which is the layout's.
    for (const NativeControl& control : layout.controls) {
        QWidget* widget = nullptr;
        if (control.kind == ControlKind::TextField) {
            auto* field = new QLineEdit(this);
            field->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            field->setMaxLength(std::numeric_limits<int>::max());
            field->setReadOnly(control.locked);
            field->setAccessibleName(toQString(control.accessibleName));
            widget = field;
        } else {
            auto* button = new QPushButton(toQString(control.caption.markup()), this);
            // The button's own accelerator would take the focus and click only after a pause;
            // the engine's clicks at once and leaves the focus where it is.
            button->setShortcut(QKeySequence());
            button->setAutoDefault(false);
            button->setDefault(control.isDefault);
            connect(button, &QPushButton::clicked, this,
                    [this, id = control.id] { m_input.buttonPressed(id); });
            widget = button;
        }
        widget->setObjectName(toQString(control.name));
        widget->installEventFilter(this);
        m_widgets[control.id] = widget;
        place(control);
    }
    m_announcer = new QtAnnouncer(this);
    move(outer.left, outer.top);
}

void QtWindow::layOutAgain() {
    if (m_layout->background.standard == StandardColour::None) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, QColor::fromRgb(m_layout->background.rgb));
        setPalette(palette);
    }
    setFont(fontOf(m_layout->fonts.front()));
    resize(m_layout->client.width, m_layout->client.height);
    for (const NativeControl& control : m_layout->controls) {
        if (m_widgets[control.id] != nullptr) {
            place(control);
        }
    }
    QWidget::update();
}

void QtWindow::place(const NativeControl& control) {
    QWidget* widget = m_widgets[control.id];
    widget->setGeometry(toQRect(control.box));
    if (control.font != 0) { // the window's own font comes down to it by itself
        widget->setFont(fontOf(m_layout->fonts[control.font]));
    }
}

QLineEdit* QtWindow::field(ControlId id) const {
    return static_cast<QLineEdit*>(m_widgets.at(id));
}

std::u16string QtWindow::text(ControlId field) const {
    return toU16String(this->field(field)->text());
}

void QtWindow::setText(ControlId field, std::u16string_view text) {
    this->field(field)->setText(toQString(text));
}

void QtWindow::focus(ControlId control) {
    m_widgets.at(control)->setFocus();
}

void QtWindow::announce(std::u16string_view text) {
    m_announcer->announce(toQString(text));
}

NativeHandle QtWindow::handle() const {
    return static_cast<NativeHandle>(winId());
}

std::optional<int> QtWindow::run() {
    show();
    return QApplication::exec();
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        return m_input.keyPressed(keyOf(key), modifiersOf(key.modifiers()));
    }
    return QWidget::eventFilter(watched, event);
}

void QtWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const auto colourOf = [this](const PaintColour& colour) {
        switch (colour.standard) {
        case StandardColour::None:
            break;
        case StandardColour::Window:
            return palette().color(QPalette::Window);
        case StandardColour::WindowText:
            return palette().color(QPalette::WindowText);
        }
        return QColor::fromRgb(colour.rgb);
    };
    for (const PaintItem& item : m_layout->paint) {
        const QRect box = toQRect(item.box);
        switch (item.kind) {
        case PaintItem::Kind::Fill:
            painter.fillRect(box, colourOf(item.colour));
            break;
        case PaintItem::Kind::Frame:
            // A one-pixel line just inside the box, crisp at whole scale factors.
            painter.setPen(QPen(colourOf(item.colour), 1.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
            break;
        case PaintItem::Kind::Text:
            painter.save();
            painter.setClipRect(box);
            painter.setFont(fontOf(m_layout->fonts[item.font]));
            painter.setPen(colourOf(item.colour));
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                             toQString(item.text));
            painter.restore();
            break;
        }
    }
}

void QtWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_input.mousePressed(pointOf(*event), false);
    }
}

void QtWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_input.mousePressed(pointOf(*event), true);
    }
}

void QtWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_input.mouseReleased(pointOf(*event));
    }
}

namespace platform {

std::unique_ptr<NativeWindow> createWindow(FormInput& input) {
    return std::make_unique<QtWindow>(input);
}

} // namespace platform

} // namespace rt
