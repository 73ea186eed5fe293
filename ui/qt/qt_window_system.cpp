#include "ui/qt/qt_window_system.h"
#include "text/path_text.h"

#include "ui/folder_listing.h"
#include "ui/keyboard.h"
#include "ui/line_marks.h"
#include "ui/message_lines.h"
#include "ui/qt/images.h"
#include "ui/qt/qt_widgets.h"
#include "ui/shown_text.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFocusFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <system_error>

namespace adultify::qt {

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string S(const QString& s) {
    return s.toUtf8().toStdString();
}
// A text as drawn: a name's control characters as the placeholder glyph.
QString Shown(std::string_view s) {
    return HasControlCharacters(s) ? Q(ShownText(s)) : Q(s);
}
// A list line or drop-down entry drawn otherwise than given keeps the given text here.
constexpr int kGivenTextRole = kMarkRole + 1;
std::string GivenText(const QComboBox& combo, int index) {
    const QVariant given = combo.itemData(index, kGivenTextRole);
    return S(given.isValid() ? given.toString() : combo.itemText(index));
}

// Relays a window's own events (close box, keys, mouse over its background) to the program.
class MainWindow final : public QMainWindow {
  public:
    std::function<bool()> onClose; // true: the program ended, let the window go
  protected:
    void closeEvent(QCloseEvent* e) override {
        if (onClose && onClose())
            e->accept();
        else
            e->ignore();
    }
};

class Dialog final : public QDialog {
  public:
    using QDialog::QDialog;
    std::function<void()> onResize;
    std::function<void()> onClose;
    std::function<void()> onMouseMove;
    std::function<void()> onKey;
    void reject() override {
        if (onClose)
            onClose(); // the program unloads the window, or not
        else
            QDialog::reject();
    }

  protected:
    void resizeEvent(QResizeEvent* e) override {
        QDialog::resizeEvent(e);
        if (onResize) onResize();
    }
    // Only a move over the background is the window's own: a control that does not report
    // moves passes them up here, and leaves the pointer as it is.
    void mouseMoveEvent(QMouseEvent* e) override {
        if (onMouseMove && !childAt(e->position().toPoint())) onMouseMove();
        QDialog::mouseMoveEvent(e);
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (onKey && !e->text().isEmpty()) {
            onKey();
            return;
        }
        QDialog::keyPressEvent(e);
    }
};

void CentreOnScreen(QWidget* w) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
}

QWidget* NewPicture(const ControlDesign& c, QWidget* parent) {
    auto* picture = new PictureBox(parent, c.border);
    if (c.image == Image::Splash) {
        // Drawn at the screen's own scale: sharp, and painted without scaling.
        static const QImage splash = SplashPicture(qApp->devicePixelRatio());
        picture->SetImage(splash);
    }
    return picture;
}

// The window's title as shown: marked while the window has unsaved edits. A literal "[*]" in
// the text is doubled, as Qt would otherwise take it for its own placeholder.
QString TitleOf(std::string_view caption, bool marked) {
    QString title = Shown(marked ? MarkedTitle(caption) : std::string(caption));
    return title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

// Tab visits the controls the keyboard reaches, in the table's order, which is the order they
// were made in; no other.
void SetFocusPolicy(ControlId id, QWidget* w) {
    if (TakesFocus(id))
        w->setFocusPolicy(Qt::StrongFocus);
    else
        w->setFocusPolicy(Qt::NoFocus);
}

} // namespace

struct QtWindowSystem::Control {
    QPointer<QWidget> widget;
    QAction* action = nullptr;
    std::string caption;
    bool enabled = true;
    bool checked = false;
    QImage picture;  // for picture boxes that are never shown
    int chosen = -1; // the list line or drop-down entry the program last saw chosen
    bool textDirty = false;
    std::vector<std::string> pendingItems; // list lines not yet on the widget, as given
    LineMarks marks;                       // those on the widget and those pending
};

namespace {
// Lists, drop-downs and scroll bars show their focus faintly or not at all in some styles: a
// frame drawn around the one that has it, in the style's own ink.
bool WantsFocusFrame(ControlKind kind) {
    switch (kind) {
    case ControlKind::List:
    case ControlKind::DirList:
    case ControlKind::Combo:
    case ControlKind::DriveList:
    case ControlKind::ScrollBar: return true;
    default: return false;
    }
}
} // namespace

QtWindowSystem::QtWindowSystem(std::optional<std::filesystem::path> dosdevices)
    : controls_(std::make_unique<std::vector<Control>>(kControlCount)),
      dosdevices_(std::move(dosdevices)) {
    Build(kMainForm);
    SetWindowIcon(1);
    QObject::connect(
        qApp, &QApplication::focusChanged, Window(kMainForm), [](QWidget*, QWidget* now) {
            const auto id = now ? ControlId::Find(now->objectName().toStdString()) : std::nullopt;
            QWidget* window = now ? now->window() : nullptr;
            auto* frame = window ? window->findChild<QFocusFrame*>() : nullptr;
            if (!id || !WantsFocusFrame(id->Kind())) {
                if (frame) frame->hide();
                return;
            }
            if (!frame) frame = new QFocusFrame(window);
            frame->setWidget(now);
            frame->show();
        });
}

QtWindowSystem::~QtWindowSystem() {
    for (auto& [row, window] : windows_)
        delete window.data();
}

QtWindowSystem::Control& QtWindowSystem::At(ControlId control) {
    return (*controls_)[control.Row()];
}

const QtWindowSystem::Control& QtWindowSystem::At(ControlId control) const {
    return (*controls_)[control.Row()];
}

QtWindowSystem::Control* QtWindowSystem::Open(ControlId control) {
    return IsLoaded(control.Form()) ? &At(control) : nullptr;
}

const QtWindowSystem::Control* QtWindowSystem::Open(ControlId control) const {
    return IsLoaded(control.Form()) ? &At(control) : nullptr;
}

bool QtWindowSystem::Send(ControlId control, UiEvent event) {
    if (ended_ || !eventSink) return false;
    const bool handled = eventSink(control, event);
    Flush();
    return handled;
}

namespace {
int ShownChoice(const QWidget* w) {
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) return combo->currentIndex();
    if (const auto* list = qobject_cast<const QListWidget*>(w)) {
        const QList<QListWidgetItem*> items = list->selectedItems();
        return items.isEmpty() ? -1 : list->row(items.first());
    }
    return -1;
}
} // namespace

void QtWindowSystem::Picked(ControlId control) {
    Control& c = At(control);
    const int shown = ShownChoice(c.widget);
    const bool list = control.Kind() == ControlKind::List;
    if (list && shown == c.chosen) return;
    if (list && shown < 0 && c.chosen >= 0) {
        ShowChoice(c); // Ctrl+click: a single-selection list the user cannot empty
        return;
    }
    const int before = c.chosen;
    c.chosen = shown;
    if (!control.Reports(UiEvent::Click) || Send(control, UiEvent::Click)) return;
    // Held back (a command is running, and derives its paths from this widget): the widget
    // shows again what the program holds.
    c.chosen = before;
    ShowChoice(c);
}

void QtWindowSystem::ShowChoice(Control& c) {
    FlushList(c);
    QWidget* w = c.widget;
    const QSignalBlocker block(w);
    if (auto* l = qobject_cast<QListWidget*>(w)) {
        const QSignalBlocker blockSelection(l->selectionModel());
        l->clearSelection();
        if (c.chosen >= 0 && c.chosen < l->count()) {
            l->setCurrentRow(c.chosen);
            l->item(c.chosen)->setSelected(true);
        }
        l->viewport()->update();
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setCurrentIndex(c.chosen >= 0 && c.chosen < combo->count() ? c.chosen : -1);
    }
}

void QtWindowSystem::MarkDirty(ControlId control) {
    dirty_.push_back(control);
    if (flushPosted_) return;
    flushPosted_ = true;
    // Bound to the main window, which lives as long as this: a flush still pending when the
    // window layer is gone does not run.
    QTimer::singleShot(0, Window(kMainForm), [this] { Flush(false); });
}

void QtWindowSystem::FlushList(Control& c) {
    auto* list = qobject_cast<QListWidget*>(c.widget.data());
    if (!list || c.pendingItems.empty()) return;
    const QSignalBlocker block(list);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(c.pendingItems.size()));
    std::vector<int> drawnOtherwise;
    for (const std::string& line : c.pendingItems) {
        const bool control = HasControlCharacters(line);
        if (control) drawnOtherwise.push_back(static_cast<int>(lines.size()));
        lines.append(control ? Q(ShownText(line)) : Q(line));
    }
    const int first = list->count();
    list->addItems(lines);
    for (int i : drawnOtherwise)
        list->item(first + i)->setData(kGivenTextRole,
                                       Q(c.pendingItems[static_cast<std::size_t>(i)]));
    c.pendingItems.clear();
    for (int row = first; row < list->count(); ++row)
        if (const LineMark mark = c.marks.Of(row); mark != LineMark::None)
            list->item(row)->setData(kMarkRole, static_cast<int>(mark));
}

void QtWindowSystem::Flush(bool all) {
    flushPosted_ = false;
    std::vector<ControlId> names;
    names.swap(dirty_);
    for (ControlId id : names) {
        Control& c = At(id);
        if (!all && c.widget && !c.widget->isVisible()) {
            dirty_.push_back(id); // nobody sees it yet
            continue;
        }
        FlushList(c);
        if (c.textDirty) {
            c.textDirty = false;
            if (auto* label = qobject_cast<QLabel*>(c.widget.data()))
                label->setText(Shown(c.caption));
        }
    }
}

QWidget* QtWindowSystem::BuildWindow(FormId form) {
    const ControlDesign& d = form.Design();
    QWidget* window = nullptr;
    if (d.style == WindowStyle::Main) {
        auto* main = new MainWindow;
        main->onClose = [this, form] {
            if (ended_) return true;
            Send(form.Control(), UiEvent::Close);
            return ended_;
        };
        auto* client = new QWidget(main);
        client->setFixedSize(d.width, d.height);
        main->setCentralWidget(client);
        main->setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
        // The layout does not grow, so neither does the window.
        main->layout()->setSizeConstraint(QLayout::SetFixedSize);
        window = main;
    } else {
        auto* dialog = new Dialog;
        if (d.sizable) {
            dialog->setMinimumSize(d.width, d.height);
            dialog->resize(d.width, d.height);
            dialog->onResize = [this, form] { FollowSize(form); };
        } else {
            dialog->setFixedSize(d.width, d.height);
        }
        dialog->onClose = [this, form] { Send(form.Control(), UiEvent::Close); };
        if (d.style == WindowStyle::Splash)
            dialog->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
        else if (d.sizable)
            dialog->setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
        else
            dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                   Qt::WindowCloseButtonHint);
        if (form.Control().Reports(UiEvent::KeyPress))
            dialog->onKey = [this, form] { Send(form.Control(), UiEvent::KeyPress); };
        if (form.Control().Reports(UiEvent::MouseMove)) {
            dialog->setMouseTracking(true);
            dialog->onMouseMove = [this, form] { Send(form.Control(), UiEvent::MouseMove); };
        }
        window = dialog;
    }
    window->setObjectName(Q(d.name));
    window->setWindowTitle(TitleOf(d.caption, false));
    return window;
}

void QtWindowSystem::Build(FormId form) {
    QWidget* window = BuildWindow(form);
    windows_[form.Control().Row()] = window;
    Control& self = At(form.Control());
    self = Control{};
    self.widget = window;
    self.caption = std::string(form.Design().caption);
    for (const ControlDesign& c : form.Controls())
        BuildControl(form, c, form.IdOf(c));
}

QWidget* QtWindowSystem::BuildLabel(const ControlDesign& c, ControlId id, QWidget* parent) {
    auto* label = new ClickLabel(Q(c.caption), parent);
    if (id.Reports(UiEvent::Click)) label->onClick = [this, id] { Send(id, UiEvent::Click); };
    if (id.Reports(UiEvent::MouseMove)) {
        label->setMouseTracking(true);
        label->onMouseMove = [this, id] { Send(id, UiEvent::MouseMove); };
    }
    label->setWordWrap(c.wrap);
    label->SetBoxed(c.border);
    static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft | Qt::AlignVCenter,
                                               Qt::AlignRight | Qt::AlignVCenter, Qt::AlignCenter};
    label->setAlignment(kAlign[static_cast<int>(c.align)]);
    QFont font = label->font();
    if (c.face == Face::Narrow) font.setStretch(QFont::SemiCondensed);
    if (c.face == Face::Link) font.setUnderline(true);
    label->setFont(font);
    if (c.face == Face::Link || c.ink == Ink::White) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText,
                         c.ink == Ink::White ? QColor(Qt::white) : QColor(0, 0, 192));
        label->setPalette(palette);
    }
    return label;
}

void QtWindowSystem::BuildMenu(FormId form, const ControlDesign& c, ControlId id) {
    QMenuBar* bar = static_cast<QMainWindow*>(Window(form))->menuBar();
    QAction* action = nullptr;
    const bool hasEntries = std::any_of(form.Controls().begin(), form.Controls().end(),
                                        [&](const ControlDesign& d) { return d.parent == c.name; });
    if (c.parent.empty()) {
        if (hasEntries) {
            QMenu* menu = bar->addMenu(Q(c.caption));
            menus_[id.Row()] = menu;
            action = menu->menuAction();
        } else {
            action = bar->addAction(Q(c.caption));
        }
    } else {
        QMenu* menu = menus_.at(ControlId::Find(c.parent)->Row());
        if (hasEntries) {
            QMenu* submenu = menu->addMenu(Q(c.caption));
            menus_[id.Row()] = submenu;
            action = submenu->menuAction();
        } else {
            action = c.caption == "-" ? menu->addSeparator() : menu->addAction(Q(c.caption));
        }
    }
    action->setVisible(!c.caption.empty()); // the games menu's unused entries
    action->setCheckable(c.checkable);
    action->setChecked(c.checked);
    action->setEnabled(c.enabled);
    action->setObjectName(Q(c.name));
    if (id.Reports(UiEvent::Click))
        QObject::connect(action, &QAction::triggered, action, [this, id, action] {
            // The program keeps the check mark itself.
            if (action->isCheckable()) {
                const QSignalBlocker block(action);
                action->setChecked(At(id).checked);
            }
            Send(id, UiEvent::Click);
        });
    At(id).action = action;
}

QWidget* QtWindowSystem::ParentOf(FormId form, const ControlDesign& c) const {
    if (!c.parent.empty()) return Widget(*ControlId::Find(c.parent));
    auto* main = qobject_cast<QMainWindow*>(Window(form));
    return main ? main->centralWidget() : Window(form);
}

void QtWindowSystem::BuildControl(FormId form, const ControlDesign& c, ControlId id) {
    Control& control = At(id);
    control = AsLaidOut<Control>(c);
    if (c.kind == ControlKind::Menu) return BuildMenu(form, c, id);
    QWidget* w = BuildWidget(c, id, ParentOf(form, c));
    if (!w) return;
    SetFocusPolicy(id, w);
    w->setObjectName(Q(c.name));
    w->setGeometry(c.x, c.y, c.width, c.height);
    w->setEnabled(c.enabled);
    // Laid out beyond the window's edge (the path dialog's file list): never seen, even in a
    // window made larger.
    if (!LiesInsideItsWindow(id)) w->hide();
    if (c.image == Image::Splash) w->lower(); // the texts lie on the picture
    control.widget = w;
}

// The widget of a control other than a menu entry; none for those that have no widget.
QWidget* QtWindowSystem::BuildWidget(const ControlDesign& c, ControlId id, QWidget* parent) {
    switch (c.kind) {
    case ControlKind::Label: return BuildLabel(c, id, parent);
    case ControlKind::Frame: return BuildFrame(c, id, parent);
    case ControlKind::Button: {
        auto* button = new QPushButton(Q(c.caption), parent);
        // In a dialog Enter presses the focused button, else the window's default one.
        button->setAutoDefault(id.Form().Design().style == WindowStyle::Dialog);
        button->setDefault(c.enterPresses);
        QObject::connect(button, &QPushButton::clicked, button,
                         [this, id] { Send(id, UiEvent::Click); });
        return button;
    }
    case ControlKind::List: return BuildList(id, parent);
    case ControlKind::Combo: {
        auto* combo = new DropDown(parent);
        QObject::connect(combo, &QComboBox::activated, combo, [this, id] { Picked(id); });
        return combo;
    }
    case ControlKind::Picture: return NewPicture(c, parent);
    case ControlKind::HiddenPicture:
        if (c.image == Image::Stock) At(id).picture = StockPicture(qApp->devicePixelRatio());
        return nullptr;
    case ControlKind::ScrollBar: {
        auto* bar = new KeyScrollBar(parent);
        bar->setTracking(false); // the change comes when the thumb is let go
        QObject::connect(bar, &QScrollBar::valueChanged, bar,
                         [this, id] { Send(id, UiEvent::Change); });
        return bar;
    }
    case ControlKind::Shape: return new ShapeBox(parent);
    case ControlKind::Line: return new EtchedLine(parent);
    case ControlKind::DirList: return BuildDirList(id, parent);
    case ControlKind::DriveList: return BuildDriveList(id, parent);
    case ControlKind::FileList: return new QListWidget(parent);
    case ControlKind::FolderBox: {
        auto* box = new FolderBox(parent);
        box->onEnter = [this, id] { OpenTypedFolder(id); };
        return box;
    }
    case ControlKind::Window:
    case ControlKind::Menu: break;
    }
    return nullptr;
}

QWidget* QtWindowSystem::BuildFrame(const ControlDesign& c, ControlId id, QWidget* parent) {
    auto* frame = new MouseFrame(Q(c.caption), parent);
    if (id.Reports(UiEvent::MouseMove)) {
        frame->setMouseTracking(true);
        frame->onMouseMove = [this, id] { Send(id, UiEvent::MouseMove); };
    }
    return frame;
}

QWidget* QtWindowSystem::BuildList(ControlId id, QWidget* parent) {
    auto* list = new PickList(parent);
    list->setItemDelegate(new LineDelegate(list));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Long lines (log lines, body strings) are shown whole and scroll sideways.
    list->setTextElideMode(Qt::ElideNone);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this, id] { Picked(id); });
    return list;
}

// As the old folder list: the open folder's ancestors, the folder, its subfolders.
QWidget* QtWindowSystem::BuildDirList(ControlId id, QWidget* parent) {
    auto* list = new FolderList(parent);
    list->onOpen = [this, id, list](int row) {
        const QListWidgetItem* item = list->item(row);
        if (!item) return;
        SetCaption(id, S(item->data(Qt::UserRole).toString()));
        Send(id, UiEvent::Change);
    };
    return list;
}

// The host's roots, then each drive letter of the Wine prefix with the folder it stands for.
QWidget* QtWindowSystem::BuildDriveList(ControlId id, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    for (const DriveEntry& drive : ListDrives(dosdevices_))
        combo->addItem(Q(drive.name), Q(drive.root));
    QObject::connect(combo, &QComboBox::activated, combo,
                     [this, id] { Send(id, UiEvent::Change); });
    return combo;
}

void QtWindowSystem::Destroy(FormId form) {
    for (const ControlDesign& c : form.Controls()) {
        At(form.IdOf(c)) = Control{};
        menus_.erase(form.IdOf(c).Row());
    }
    At(form.Control()) = Control{};
    auto w = windows_.find(form.Control().Row());
    if (w != windows_.end()) {
        if (w->second) {
            w->second->hide();
            w->second->deleteLater();
        }
        windows_.erase(w);
    }
}

void QtWindowSystem::FillDirList(Control& c, const std::string& folder) {
    auto* list = qobject_cast<QListWidget*>(c.widget);
    const QSignalBlocker block(list);
    list->clear();
    const std::vector<FolderEntry> entries = ListFolders(folder);
    const QIcon open = list->style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = list->style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (const FolderEntry& e : entries) {
        auto* item = new QListWidgetItem(e.open ? open : closed, Q(e.name), list);
        item->setData(Qt::UserRole, Q(e.path));
        item->setData(kDepthRole, e.depth);
        item->setToolTip(Q(e.path));
    }
    const int line = OpenFolderLine(entries);
    if (line < 0) return;
    list->setCurrentRow(line);
    list->scrollToItem(list->item(line));
    c.caption = entries[static_cast<std::size_t>(line)].path;
}

void QtWindowSystem::ShowOpenFolder(FormId form, const std::string& folder) {
    for (const ControlDesign& d : form.Controls())
        if (d.kind == ControlKind::FolderBox)
            if (auto* box = qobject_cast<QLineEdit*>(Widget(form.IdOf(d)))) box->setText(Q(folder));
}

void QtWindowSystem::OpenTypedFolder(ControlId box) {
    const auto* edit = qobject_cast<QLineEdit*>(Widget(box));
    const std::string typed = edit ? S(edit->text()) : std::string();
    std::error_code ec;
    if (typed.empty() || !std::filesystem::is_directory(TextPath(typed), ec)) {
        Beep();
        return;
    }
    for (const ControlDesign& d : box.Form().Controls())
        if (d.kind == ControlKind::DirList) {
            SetCaption(box.Form().IdOf(d), typed);
            Send(box.Form().IdOf(d), UiEvent::Change);
        }
}

void QtWindowSystem::FollowSize(FormId form) {
    const QWidget* window = Window(form);
    if (!window) return;
    const int wider = window->width() - form.Design().width;
    const int taller = window->height() - form.Design().height;
    for (const ControlDesign& c : form.Controls())
        if (QWidget* w = c.follows ? Widget(form.IdOf(c)) : nullptr) {
            const LaidOut r = PlaceFollowing(c, wider, taller);
            w->setGeometry(r.x, r.y, r.width, r.height);
        }
}

void QtWindowSystem::CentreOnOwner(FormId form) {
    QWidget* w = Window(form);
    const QWidget* owner = Window(kMainForm);
    if (!w) return;
    if (form == kMainForm || !owner || !owner->isVisible()) {
        CentreOnScreen(w);
        return;
    }
    const QRect frame = owner->frameGeometry();
    QPoint at = frame.center() - QPoint(w->width() / 2, w->height() / 2);
    // Kept on the owner's screen, its title bar within reach.
    if (const QScreen* screen = owner->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - w->width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - w->height())));
    }
    w->move(at);
}

void QtWindowSystem::ChooseDriveOf(Control& c, const std::string& folder) {
    auto* combo = qobject_cast<QComboBox*>(c.widget);
    std::vector<DriveEntry> drives;
    drives.reserve(static_cast<std::size_t>(combo->count()));
    for (int i = 0; i < combo->count(); ++i)
        drives.push_back({S(combo->itemData(i).toString()), S(combo->itemText(i))});
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(DriveHolding(drives, folder));
}

void QtWindowSystem::FillFileList(ControlId id, Control& c, const std::string& folder) {
    auto* files = qobject_cast<QListWidget*>(c.widget);
    files->clear();
    for (const std::string& name : ListFiles(folder, id.Design().caption))
        files->addItem(Q(name));
}

void QtWindowSystem::SetCaption(ControlId control, std::string_view text) {
    // A closed window's label (the splash's, after start-up) takes no text.
    Control* c = Open(control);
    if (!c) return;
    c->caption = std::string(text);
    const QString q = Shown(text);
    if (control.IsWindow()) {
        const std::optional<ControlId> marker = UnsavedMarker(control.Form());
        if (c->widget) c->widget->setWindowTitle(TitleOf(text, marker && At(*marker).enabled));
        return;
    }
    if (c->action) {
        c->action->setText(q);
        c->action->setVisible(!text.empty());
        return;
    }
    if (!c->widget) return;
    if (qobject_cast<QLabel*>(c->widget)) {
        if (!c->textDirty) MarkDirty(control);
        c->textDirty = true;
    } else if (auto* button = qobject_cast<QPushButton*>(c->widget))
        button->setText(q);
    else if (auto* frame = qobject_cast<QGroupBox*>(c->widget))
        frame->setTitle(q);
    else if (control.Kind() == ControlKind::DirList) {
        FillDirList(*c, c->caption);
        ShowOpenFolder(control.Form(), c->caption);
    } else if (control.Kind() == ControlKind::FolderBox) {
        if (auto* box = qobject_cast<QLineEdit*>(c->widget)) box->setText(q);
    } else if (control.Kind() == ControlKind::DriveList)
        ChooseDriveOf(*c, c->caption);
    else if (control.Kind() == ControlKind::FileList)
        FillFileList(control, *c, c->caption);
}

std::string QtWindowSystem::Caption(ControlId control) const {
    const Control* c = Open(control);
    if (!c) return {};
    if (auto* box = qobject_cast<QLineEdit*>(c->widget.data())) return S(box->text());
    if (auto* combo = qobject_cast<QComboBox*>(c->widget.data())) {
        if (control.Kind() == ControlKind::Combo) return GivenText(*combo, combo->currentIndex());
        if (control.Kind() == ControlKind::DriveList) return S(combo->currentData().toString());
    }
    return c->caption;
}

void QtWindowSystem::SetEnabled(ControlId control, bool enabled) {
    Control* c = Open(control);
    if (!c) return;
    c->enabled = enabled;
    if (c->action) c->action->setEnabled(enabled);
    if (c->widget) c->widget->setEnabled(enabled);
    if (control.Design().marksUnsaved)
        if (QWidget* window = Window(control.Form()))
            window->setWindowTitle(TitleOf(At(control.Form().Control()).caption, enabled));
}

bool QtWindowSystem::IsEnabled(ControlId control) const {
    const Control* c = Open(control);
    return c && c->enabled;
}

void QtWindowSystem::SetMenuTip(ControlId menuEntry, std::string_view text) {
    QAction* action = At(menuEntry).action;
    if (!action) return;
    action->setToolTip(Q(text));
    if (auto menu = menus_.find(ControlId::Find(menuEntry.Design().parent)->Row());
        menu != menus_.end())
        menu->second->setToolTipsVisible(true);
}

void QtWindowSystem::SetChecked(ControlId menuEntry, bool checked) {
    Control& c = At(menuEntry);
    c.checked = checked;
    if (c.action) {
        const QSignalBlocker block(c.action);
        c.action->setChecked(checked);
    }
}

bool QtWindowSystem::IsChecked(ControlId menuEntry) const {
    return At(menuEntry).checked;
}

void QtWindowSystem::FocusControl(ControlId control) {
    if (QWidget* w = Widget(control)) w->setFocus(Qt::OtherFocusReason);
}

void QtWindowSystem::ListClear(ControlId list) {
    Control& c = At(list);
    c.pendingItems.clear();
    c.marks.Clear();
    c.chosen = -1;
    const QSignalBlocker block(c.widget.data());
    if (auto* l = qobject_cast<QListWidget*>(c.widget))
        l->clear();
    else if (auto* combo = qobject_cast<QComboBox*>(c.widget))
        combo->clear();
}

void QtWindowSystem::ListAdd(ControlId list, std::string_view item) {
    Control& c = At(list);
    const QSignalBlocker block(c.widget.data());
    if (qobject_cast<QListWidget*>(c.widget)) {
        if (c.pendingItems.empty()) MarkDirty(list);
        c.pendingItems.emplace_back(item);
    } else if (auto* combo = qobject_cast<QComboBox*>(c.widget)) {
        // Qt selects the first entry of an empty drop-down; the selection stays as it was.
        const int selected = combo->currentIndex();
        combo->addItem(Shown(item));
        if (HasControlCharacters(item))
            combo->setItemData(combo->count() - 1, Q(item), kGivenTextRole);
        combo->setCurrentIndex(selected);
    }
}

int QtWindowSystem::ListCount(ControlId list) const {
    const Control& c = At(list);
    if (auto* l = qobject_cast<QListWidget*>(c.widget.data()))
        return l->count() + static_cast<int>(c.pendingItems.size());
    if (auto* combo = qobject_cast<QComboBox*>(c.widget.data())) return combo->count();
    return 0;
}

std::string QtWindowSystem::ListItem(ControlId list, int index) const {
    const Control& c = At(list);
    if (auto* l = qobject_cast<QListWidget*>(c.widget.data())) {
        if (index >= l->count() && index - l->count() < static_cast<int>(c.pendingItems.size()))
            return c.pendingItems[static_cast<std::size_t>(index - l->count())];
        const QListWidgetItem* item = l->item(index);
        if (!item) return {};
        // A folder list's line stands for a folder.
        if (list.Kind() == ControlKind::DirList) return S(item->data(Qt::UserRole).toString());
        const QVariant given = item->data(kGivenTextRole);
        return S(given.isValid() ? given.toString() : item->text());
    }
    if (auto* combo = qobject_cast<QComboBox*>(c.widget.data()))
        return list.Kind() == ControlKind::DriveList ? S(combo->itemData(index).toString())
                                                     : GivenText(*combo, index);
    return {};
}

bool QtWindowSystem::ListSelected(ControlId list, int index) const {
    const Control& c = At(list);
    if (auto* l = qobject_cast<QListWidget*>(c.widget.data())) {
        const QListWidgetItem* item = l->item(index);
        return item && item->isSelected();
    }
    if (auto* combo = qobject_cast<QComboBox*>(c.widget.data()))
        return combo->currentIndex() == index && index >= 0;
    return false;
}

void QtWindowSystem::ListSelect(ControlId list, int index) {
    Control& c = At(list);
    c.chosen = index >= 0 && index < ListCount(list) ? index : -1;
    ShowChoice(c);
}

void QtWindowSystem::ListSetMark(ControlId list, int index, LineMark mark) {
    Control& c = At(list);
    if (!c.marks.Set(index, ListCount(list), mark)) return;
    if (auto* l = qobject_cast<QListWidget*>(c.widget.data()); l && index < l->count())
        l->item(index)->setData(kMarkRole, static_cast<int>(mark));
}

LineMark QtWindowSystem::ListMark(ControlId list, int index) const {
    return At(list).marks.Of(index);
}

bool QtWindowSystem::SetPictureBitmap(ControlId box, BitmapBytes bmpFile) {
    QImage image;
    if (!image.loadFromData(bmpFile.data(), static_cast<int>(bmpFile.size())) || image.isNull())
        return false;
    Control& c = At(box);
    c.picture = image;
    if (auto* picture = dynamic_cast<PictureBox*>(c.widget.data())) picture->SetImage(image);
    return true;
}

void QtWindowSystem::SetPictureStock(ControlId box) {
    CopyPicture(kStockPictureHolder, box);
}

void QtWindowSystem::CopyPicture(ControlId from, ControlId to) {
    const QImage image = At(from).picture;
    Control& c = At(to);
    c.picture = image;
    if (auto* picture = dynamic_cast<PictureBox*>(c.widget.data())) picture->SetImage(image);
}

namespace {
PictureBox* Box(QWidget* w) {
    auto* box = dynamic_cast<PictureBox*>(w);
    if (!box) throw std::out_of_range("not a picture box");
    return box;
}
} // namespace

void QtWindowSystem::RemovePicture(ControlId box) {
    Control& c = At(box);
    c.picture = QImage();
    // A box beyond the window's edge holds its picture only.
    if (auto* picture = dynamic_cast<PictureBox*>(c.widget.data())) {
        picture->SetImage(c.picture);
        picture->ClearDrawing();
    }
}

void QtWindowSystem::PictureClear(ControlId box) {
    Box(At(box).widget)->ClearDrawing();
}

void QtWindowSystem::SetLineWidth(ControlId box, int width) {
    Box(At(box).widget)->lineWidth = width;
}

void QtWindowSystem::FillRect(ControlId box, float x1, float y1, float x2, float y2, Rgb colour) {
    PictureBox* b = Box(At(box).widget);
    b->AddOp({PictureBox::Op::Kind::Fill, x1, y1, x2, y2, 0, colour, b->lineWidth});
}

void QtWindowSystem::DrawLine(ControlId box, float x1, float y1, float x2, float y2, Rgb colour) {
    PictureBox* b = Box(At(box).widget);
    b->AddOp({PictureBox::Op::Kind::Line, x1, y1, x2, y2, 0, colour, b->lineWidth});
}

void QtWindowSystem::DrawArc(ControlId box, float cx, float cy, float radius, float fromAngle,
                             float toAngle, std::optional<Rgb> colour) {
    PictureBox* b = Box(At(box).widget);
    b->AddOp({PictureBox::Op::Kind::Arc, cx, cy, radius, fromAngle, toAngle, colour, b->lineWidth});
}

float QtWindowSystem::ScaleWidth(ControlId box) const {
    auto* b = dynamic_cast<PictureBox*>(At(box).widget.data());
    return b ? b->InnerWidth() : 0;
}

float QtWindowSystem::ScaleHeight(ControlId box) const {
    auto* b = dynamic_cast<PictureBox*>(At(box).widget.data());
    return b ? b->InnerHeight() : 0;
}

void QtWindowSystem::SetScrollRange(ControlId bar, int min, int max, int smallChange,
                                    int largeChange) {
    auto* b = qobject_cast<QScrollBar*>(At(bar).widget);
    const QSignalBlocker block(b);
    b->setRange(min, max);
    b->setSingleStep(smallChange);
    b->setPageStep(largeChange);
}

bool QtWindowSystem::SetScrollValue(ControlId bar, int value) {
    auto* b = qobject_cast<QScrollBar*>(At(bar).widget);
    if (value < b->minimum() || value > b->maximum())
        throw std::out_of_range("scroll bar value outside its range");
    const QSignalBlocker block(b);
    const bool changed = b->value() != value;
    b->setValue(value);
    return changed;
}

int QtWindowSystem::ScrollValue(ControlId bar) const {
    auto* b = qobject_cast<QScrollBar*>(At(bar).widget.data());
    return b ? b->value() : 0;
}

void QtWindowSystem::SetFillStyle(ControlId shape, int style) {
    auto* s = dynamic_cast<ShapeBox*>(At(shape).widget.data());
    s->fillStyle = style;
    s->update();
}

int QtWindowSystem::FillStyle(ControlId shape) const {
    auto* s = dynamic_cast<ShapeBox*>(At(shape).widget.data());
    return s ? s->fillStyle : 1;
}

void QtWindowSystem::SetWindowIcon(int index) {
    icon_ = index;
    if (QWidget* w = Window(kMainForm)) w->setWindowIcon(FaceIcon(index));
}

void QtWindowSystem::LoadForm(FormId form) {
    if (IsLoaded(form)) return;
    Build(form);
}

void QtWindowSystem::FocusFirst(FormId form) {
    QWidget* window = Window(form);
    if (!window || window->focusWidget()) return;
    if (const std::optional<ControlId> first = FirstFocus(form))
        if (QWidget* w = Widget(*first)) w->setFocus(Qt::TabFocusReason);
}

void QtWindowSystem::ShowForm(FormId form) {
    Flush();
    LoadForm(form);
    FocusFirst(form);
    QWidget* w = Window(form);
    if (form.Design().style != WindowStyle::Main && !w->isVisible()) CentreOnOwner(form);
    w->show();
    w->raise();
}

void QtWindowSystem::ShowModal(FormId form) {
    Flush();
    LoadForm(form);
    auto* dialog = qobject_cast<QDialog*>(Window(form));
    if (!dialog) return;
    FocusFirst(form);
    if (!dialog->isVisible()) CentreOnOwner(form);
    dialog->exec();
    if (IsLoaded(form) && Window(form) == dialog) Destroy(form);
}

void QtWindowSystem::UnloadForm(FormId form) {
    if (form.Design().style == WindowStyle::Main) return; // only the end closes it
    if (auto* dialog = qobject_cast<QDialog*>(Window(form))) dialog->done(0);
    Destroy(form);
}

bool QtWindowSystem::IsLoaded(FormId form) const {
    if (ended_) return false;
    auto it = windows_.find(form.Control().Row());
    return it != windows_.end() && it->second;
}

QWidget* QtWindowSystem::Window(FormId form) const {
    auto it = windows_.find(form.Control().Row());
    return it == windows_.end() ? nullptr : it->second.data();
}

QWidget* QtWindowSystem::Widget(ControlId control) const {
    return At(control).widget.data();
}

QAction* QtWindowSystem::Action(ControlId menuEntry) const {
    return At(menuEntry).action;
}

MsgAnswer QtWindowSystem::ShowMessageBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                                         std::string_view title) {
    static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                                   QMessageBox::Question, QMessageBox::Warning,
                                                   QMessageBox::Information};
    Flush();
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = Window(kMainForm);
    if (parent && !parent->isVisible()) parent = nullptr;
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    const bool yesNo = buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoDefaultNo;
    if (yesNo) shown = QMessageBox::Yes | QMessageBox::No;
    if (buttons == MsgButtons::YesNoCancel)
        shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(kIcons[static_cast<int>(icon)], Shown(title), Shown(text), shown, parent);
    box.setObjectName(QStringLiteral("MsgBox"));
    // Wide enough for each line the text breaks by itself: Qt wraps a box's text at half the
    // screen's width, which at 150 % on a small screen cuts sentences in two. A width set on
    // the label also keeps Qt from wrapping at all, so only a text whose every line is held
    // gets one; a text of one line, or with a line too long to hold, wraps as Qt likes.
    const std::vector<std::string_view> held = HeldLines(text);
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label && !held.empty() &&
        held.size() == static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1) {
        // Measured as the label lays its text out, a pixel or so wider than the letters.
        const QRect unbounded(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        int widest = 0;
        for (std::string_view line : held)
            widest = std::max(
                widest,
                label->fontMetrics().boundingRect(unbounded, Qt::AlignLeft, Q(line)).width());
        label->setMinimumWidth(widest + 1);
    }
    // Escape and the close box press it; without Cancel, Qt gives them No (or OK).
    if (buttons == MsgButtons::YesNoCancel) box.setEscapeButton(QMessageBox::Cancel);
    box.setDefaultButton(ButtonOf(EnterAnswer(buttons)));
    const int answer = box.exec();
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    if (answer == QMessageBox::Yes) return MsgAnswer::Yes;
    if (answer == QMessageBox::No || yesNo) return MsgAnswer::No;
    return MsgAnswer::Cancel;
}

QMessageBox::StandardButton ButtonOf(MsgAnswer answer) {
    static constexpr QMessageBox::StandardButton kButtons[] = {
        QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    return kButtons[static_cast<int>(answer)];
}

std::optional<std::string> QtWindowSystem::ChooseFolder(FormId owner, std::string_view start) {
    Flush();
    const QString chosen = QFileDialog::getExistingDirectory(
        Window(owner), QStringLiteral("Choose the game folder"), Q(start));
    if (chosen.isEmpty()) return std::nullopt;
    return S(QDir::toNativeSeparators(chosen));
}

void QtWindowSystem::Beep() {
    QApplication::beep();
}

void QtWindowSystem::SetPointer(MousePointer pointer) {
    if (pointer == MousePointer::Default) {
        for (; pointerDepth_ > 0; --pointerDepth_)
            QGuiApplication::restoreOverrideCursor();
        return;
    }
    const QCursor cursor(pointer == MousePointer::Hourglass ? Qt::WaitCursor : Qt::UpArrowCursor);
    if (pointerDepth_ == 0) {
        QGuiApplication::setOverrideCursor(cursor);
        pointerDepth_ = 1;
    } else {
        QGuiApplication::changeOverrideCursor(cursor);
    }
}

void QtWindowSystem::ShellOpen(FormId, std::string_view document) {
    (void)QDesktopServices::openUrl(QUrl(Q(document))); // failures are ignored
}

void QtWindowSystem::EndProgram(int exitCode) {
    SetPointer(MousePointer::Default);
    for (auto& [row, window] : windows_)
        if (window) window->hide();
    ended_ = true;
    exitCode_ = exitCode;
    // Outside every event loop (start-up, tests) there is nothing to leave; asking anyway
    // would make the next loop return at once.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(exitCode);
}

void QtWindowSystem::ProcessEvents() {
    Flush(false);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool QtWindowSystem::HasLines() const {
    for (const ControlDesign& c : kMainForm.Controls())
        if (c.kind == ControlKind::List && ListCount(kMainForm.IdOf(c)) > 0) return true;
    return false;
}

void QtWindowSystem::IdleTurn() {
    ProcessEvents();
    // A wait is idle time: the hidden main window takes its lines and is laid out and painted
    // once off screen, so that showing it later costs little.
    if (QWidget* main = Window(kMainForm); main && !main->isVisible() && !prepared_ && HasLines()) {
        Flush(true);
        (void)main->grab();
        prepared_ = true;
    }
}

} // namespace adultify::qt
