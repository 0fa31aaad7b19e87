#include "dialog_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QShortcut>

#include <algorithm>

#include "list_view.h"
#include "system_menu.h"

namespace {

int MulDiv(int value, int numerator, int denominator) {
    return static_cast<int>((static_cast<long long>(value) * numerator + denominator / 2) /
                            denominator);
}

// The horizontal base unit of the platform's own dialog font (9-point ＭＳ Ｐゴシック at
// 96 DPI), which the program's pixel widths were chosen for.
constexpr double kPlatformBaseUnitX = 6.0;

double ListWidthScale(QSize baseUnits) {
    return std::max(1.0, baseUnits.width() / kPlatformBaseUnitX);
}

}  // namespace

QFont DialogFont(const DialogTemplate& dialogTemplate) {
    QFont font;
    // The template's font first, then its metric-compatible stand-in, then any Japanese sans.
    font.setFamilies({QString::fromUtf8(dialogTemplate.fontName), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("VL PGothic"), QStringLiteral("sans-serif")});
    font.setPointSize(dialogTemplate.pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QSize DialogBaseUnits(const QFont& font) {
    QFontMetrics metrics(font);
    int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((width / 26 + 1) / 2, metrics.height());
}

QRect DialogUnitsToPixels(QRect units, QSize baseUnits) {
    return QRect(MulDiv(units.x(), baseUnits.width(), 4), MulDiv(units.y(), baseUnits.height(), 8),
                 MulDiv(units.width(), baseUnits.width(), 4),
                 MulDiv(units.height(), baseUnits.height(), 8));
}

CString EditControl::Bytes() const {
    QString shown = text();
    return shown == m_shown ? m_bytes : FromQString(shown);
}

void EditControl::SetBytes(const CString& bytes) {
    m_bytes = bytes;
    m_shown = ToQString(bytes.View());
    setText(m_shown);
}

DialogWidget::DialogWidget(const DialogTemplate& dialogTemplate, CDialog* dialog, QWidget* owner)
    : QDialog(owner), m_dialog(dialog) {
    m_self.widget = this;
    m_self.owner = dialog;
    m_self.id = 0;
    setObjectName(QString::number(dialogTemplate.id));
    setAttribute(Qt::WA_DeleteOnClose, false);

    Qt::WindowFlags flags = (owner == nullptr ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint |
                            Qt::WindowTitleHint;
    if (dialogTemplate.style & WS_SYSMENU) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        // Alt+Space opens the window's menu whichever control has the focus.
        auto* openMenu = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
        openMenu->setContext(Qt::WindowShortcut);
        connect(openMenu, &QShortcut::activated, this, [this] {
            if (m_dialog != nullptr) {
                OpenSystemMenu(m_dialog, mapToGlobal(QPoint(0, 0)));
            }
        });
    }
    if (dialogTemplate.style & WS_MINIMIZEBOX) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    setWindowFlags(flags);
    setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    setSizeGripEnabled(false);

    QFont font = DialogFont(dialogTemplate);
    setFont(font);
    QSize baseUnits = DialogBaseUnits(font);
    QRect client = DialogUnitsToPixels(
        QRect(dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy), baseUnits);
    setFixedSize(client.size());

    for (const ControlTemplate& control : dialogTemplate.controls) {
        AddControl(control, font, baseUnits);
    }
}

DialogWidget::~DialogWidget() {
    Detach();
}

void DialogWidget::Detach() {
    for (auto& control : m_controls) {
        control->Forget();
    }
    m_self.Forget();
    m_dialog = nullptr;
}

WindowHandle* DialogWidget::Control(int id) {
    for (auto& control : m_controls) {
        if (control->id == id) {
            return control.get();
        }
    }
    return nullptr;
}

WindowHandle* DialogWidget::FirstTabStop() {
    for (auto& control : m_controls) {
        QWidget* widget = control->widget;
        if (widget != nullptr && (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled()) {
            return control.get();
        }
    }
    return nullptr;
}

void DialogWidget::AddControl(const ControlTemplate& control, const QFont& font, QSize baseUnits) {
    auto handle = std::make_unique<WindowHandle>();
    WindowHandle* self = handle.get();
    handle->dialog = &m_self;
    handle->id = control.id;
    handle->kind = control.kind;
    QString text = QString::fromUtf8(control.text != nullptr ? control.text : "");
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlTemplate::Kind::Edit: {
            auto* edit = new EditControl(this);
            connect(edit, &QLineEdit::textChanged, this,
                    [self] { SendCommandNotification(self, EN_CHANGE); });
            widget = edit;
            break;
        }
        case ControlTemplate::Kind::Button: {
            auto* button = new QPushButton(text, this);
            button->setAutoDefault(true);
            button->setDefault((control.style & 0xF) == BS_DEFPUSHBUTTON);
            connect(button, &QPushButton::clicked, this,
                    [self] { SendCommandNotification(self, BN_CLICKED); });
            widget = button;
            break;
        }
        case ControlTemplate::Kind::CheckBox: {
            auto* box = new QCheckBox(text, this);
            connect(box, &QCheckBox::clicked, this,
                    [self] { SendCommandNotification(self, BN_CLICKED); });
            widget = box;
            break;
        }
        case ControlTemplate::Kind::Static: {
            auto* label = new QLabel(text, this);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(
                ((control.style & 0xF) == SS_CENTER ? Qt::AlignHCenter : Qt::AlignLeft) |
                Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlTemplate::Kind::Icon: {
            auto* label = new QLabel(this);
            HICON icon = AfxGetApp() != nullptr ? AfxGetApp()->LoadIcon(control.iconId) : nullptr;
            if (icon != nullptr) {
                label->setPixmap(icon->big);
            }
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlTemplate::Kind::ListView:
            widget = new ListView(self, ListWidthScale(baseUnits), this);
            break;
    }
    widget->setObjectName(QString::number(control.id));
    widget->setFont(font);
    widget->setGeometry(
        DialogUnitsToPixels(QRect(control.x, control.y, control.cx, control.cy), baseUnits));
    bool tabStop = (control.style & WS_TABSTOP) != 0;
    if (control.kind == ControlTemplate::Kind::Static ||
        control.kind == ControlTemplate::Kind::Icon) {
        widget->setFocusPolicy(Qt::NoFocus);
    } else {
        widget->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
    widget->setEnabled((control.style & WS_DISABLED) == 0);
    widget->setVisible((control.style & WS_VISIBLE) != 0);
    handle->widget = widget;
    m_controls.push_back(std::move(handle));
}

void DialogWidget::CenterOnOwner() {
    QRect area;
    if (parentWidget() != nullptr) {
        area = parentWidget()->window()->frameGeometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    QSize frame = frameGeometry().size().expandedTo(size());
    move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

void DialogWidget::reject() {
    // Esc: the platform's cancel command.
    if (m_dialog != nullptr) {
        m_dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

void DialogWidget::closeEvent(QCloseEvent* event) {
    // The close box and Alt+F4 arrive as the system's close command; the handlers decide.
    event->ignore();
    if (m_dialog != nullptr) {
        m_dialog->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

void DialogWidget::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (m_dialog != nullptr) {
        m_dialog->SendMessage(WM_PAINT, 0, 0);
    }
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event) {
    // Labels let clicks through to the dialog, as the platform's statics do.
    QWidget* child = childAt(event->pos());
    if (m_dialog != nullptr && (child == nullptr || qobject_cast<QLabel*>(child) != nullptr)) {
        OpenSystemMenu(m_dialog, event->globalPos());
        return;
    }
    QDialog::contextMenuEvent(event);
}
