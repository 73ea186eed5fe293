#include "ui/qt/qt_window_system.h"

#include "ui/qt/images.h"
#include "ui/qt/qt_widgets.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
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
#include <QTime>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace adultify::qt {

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string S(const QString& s) {
    return s.toUtf8().toStdString();
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
    void mouseMoveEvent(QMouseEvent* e) override {
        if (onMouseMove) onMouseMove();
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

} // namespace

struct QtWindowSystem::Control {
    ControlKind kind = ControlKind::Label;
    std::string form;
    QPointer<QWidget> widget;
    QAction* action = nullptr;
    std::string caption;
    bool enabled = true;
    bool checked = false;
    QImage picture; // for picture boxes that are never shown
    bool textDirty = false;
    std::vector<QString> pendingItems; // list lines not yet on the widget
};

QtWindowSystem::QtWindowSystem(std::optional<std::filesystem::path> dosdevices)
    : controls_(std::make_unique<std::map<std::string, Control, std::less<>>>()),
      dosdevices_(std::move(dosdevices)) {
    Build(FormDesignOf("Form1"));
    At(kStockPictureBox).picture = StockPicture(qApp->devicePixelRatio());
    SetWindowIcon(1);
}

QtWindowSystem::~QtWindowSystem() {
    for (auto& [name, window] : windows_)
        delete window.data();
}

QtWindowSystem::Control& QtWindowSystem::At(std::string_view control) {
    auto it = controls_->find(control);
    if (it == controls_->end()) throw std::out_of_range("no control named " + std::string(control));
    return it->second;
}

const QtWindowSystem::Control* QtWindowSystem::Find(std::string_view control) const {
    auto it = controls_->find(control);
    return it == controls_->end() ? nullptr : &it->second;
}

bool QtWindowSystem::Send(std::string_view control, UiEvent event) {
    if (ended_ || !eventSink) return false;
    const bool handled = eventSink(control, event);
    Flush();
    return handled;
}

void QtWindowSystem::MarkDirty(std::string_view control) {
    dirty_.emplace_back(control);
    if (flushPosted_) return;
    flushPosted_ = true;
    QTimer::singleShot(0, [this] { Flush(false); });
}

void QtWindowSystem::FlushList(Control& c) {
    auto* list = qobject_cast<QListWidget*>(c.widget.data());
    if (!list || c.pendingItems.empty()) return;
    const QSignalBlocker block(list);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(c.pendingItems.size()));
    for (QString& line : c.pendingItems)
        lines.append(std::move(line));
    c.pendingItems.clear();
    list->addItems(lines);
}

void QtWindowSystem::Flush(bool all) {
    flushPosted_ = false;
    std::vector<std::string> names;
    names.swap(dirty_);
    for (const std::string& name : names) {
        auto it = controls_->find(name);
        if (it == controls_->end()) continue;
        Control& c = it->second;
        if (!all && c.widget && !c.widget->isVisible()) {
            dirty_.push_back(name); // nobody sees it yet
            continue;
        }
        FlushList(c);
        if (c.textDirty) {
            c.textDirty = false;
            if (auto* label = qobject_cast<QLabel*>(c.widget.data())) label->setText(Q(c.caption));
        }
    }
}

void QtWindowSystem::Build(const FormDesign& form) {
    const std::string formName(form.name);
    QWidget* window = nullptr;
    QWidget* client = nullptr;
    QMenuBar* menuBar = nullptr;
    if (form.name == "Form1") {
        auto* main = new MainWindow;
        main->onClose = [this] {
            if (ended_) return true;
            Send("Form1", UiEvent::Close);
            return ended_;
        };
        client = new QWidget(main);
        client->setFixedSize(form.width, form.height);
        main->setCentralWidget(client);
        menuBar = main->menuBar();
        main->setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
        window = main;
    } else {
        auto* dialog = new Dialog;
        dialog->setFixedSize(form.width, form.height);
        dialog->onClose = [this, formName] { Send(formName, UiEvent::Close); };
        if (form.name == "frmSplash") {
            dialog->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
            dialog->onKey = [this] { Send("frmSplash", UiEvent::KeyPress); };
        } else {
            dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                   Qt::WindowCloseButtonHint);
        }
        if (form.name == "frmAbout") {
            dialog->setMouseTracking(true);
            dialog->onMouseMove = [this] { Send("frmAbout", UiEvent::MouseMove); };
        }
        client = dialog;
        window = dialog;
    }
    window->setObjectName(Q(form.name));
    window->setWindowTitle(Q(form.caption));
    windows_[formName] = window;
    Control self;
    self.form = formName;
    self.widget = window;
    self.caption = std::string(form.caption);
    (*controls_)[formName] = std::move(self);

    std::map<std::string, QMenu*, std::less<>> menus;
    for (const ControlDesign& c : form.controls) {
        Control control;
        control.kind = c.kind;
        control.form = formName;
        control.caption = std::string(c.caption);
        control.enabled = c.enabled;
        control.checked = c.checked;
        const std::string name(c.name);
        QWidget* parent = client;
        if (!c.parent.empty() && c.kind != ControlKind::Menu) parent = At(c.parent).widget;
        QWidget* w = nullptr;
        switch (c.kind) {
        case ControlKind::Label:
        case ControlKind::ValueLabel:
        case ControlKind::LinkLabel: {
            auto* label = new ClickLabel(Q(c.caption), parent);
            label->onClick = [this, name] { Send(name, UiEvent::Click); };
            if (c.height >= 30) label->setWordWrap(true);
            if (c.rightAligned) {
                // Narrow captions keep to their column, as in the small dialog font of old.
                QFont narrow = label->font();
                narrow.setStretch(QFont::SemiCondensed);
                label->setFont(narrow);
            }
            if (c.kind == ControlKind::ValueLabel) {
                label->setFrameStyle(QFrame::Box | QFrame::Plain);
                label->setAlignment(Qt::AlignCenter);
            } else if (c.rightAligned) {
                label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            if (c.kind == ControlKind::LinkLabel) {
                QPalette link = label->palette();
                link.setColor(QPalette::WindowText, QColor(0, 0, 192));
                label->setPalette(link);
                QFont underlined = label->font();
                underlined.setUnderline(true);
                label->setFont(underlined);
                label->setMouseTracking(true);
                label->onMouseMove = [this, name] { Send(name, UiEvent::MouseMove); };
            } else if (formName == "frmAbout") {
                label->setMouseTracking(true);
                label->onMouseMove = [this, name] { Send(name, UiEvent::MouseMove); };
            }
            if (formName == "frmSplash") {
                label->setAlignment(Qt::AlignCenter);
                QPalette white = label->palette();
                white.setColor(QPalette::WindowText, Qt::white);
                label->setPalette(white);
            }
            w = label;
            break;
        }
        case ControlKind::StatusLabel: {
            auto* label = new QLabel(parent);
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
            w = label;
            break;
        }
        case ControlKind::Frame: {
            auto* frame = new MouseFrame(Q(c.caption), parent);
            frame->setMouseTracking(true);
            frame->onMouseMove = [this, name] { Send(name, UiEvent::MouseMove); };
            w = frame;
            break;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(Q(c.caption), parent);
            button->setAutoDefault(false);
            QObject::connect(button, &QPushButton::clicked, button,
                             [this, name] { Send(name, UiEvent::Click); });
            w = button;
            break;
        }
        case ControlKind::List: {
            auto* list = new QListWidget(parent);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setUniformItemSizes(true);
            QObject::connect(list, &QListWidget::itemSelectionChanged, list,
                             [this, name] { Send(name, UiEvent::Click); });
            w = list;
            break;
        }
        case ControlKind::Combo: {
            auto* combo = new QComboBox(parent);
            QObject::connect(combo, &QComboBox::activated, combo,
                             [this, name] { Send(name, UiEvent::Click); });
            w = combo;
            break;
        }
        case ControlKind::Picture:
            w = new PictureBox(parent, formName != "frmSplash" && formName != "frmAbout");
            break;
        case ControlKind::HiddenPicture:
            break;
        case ControlKind::ScrollBar: {
            auto* bar = new QScrollBar(Qt::Horizontal, parent);
            bar->setTracking(false); // the change comes when the thumb is let go, as designed
            QObject::connect(bar, &QScrollBar::valueChanged, bar,
                             [this, name] { Send(name, UiEvent::Change); });
            w = bar;
            break;
        }
        case ControlKind::Shape:
            w = new ShapeBox(parent);
            break;
        case ControlKind::Line: {
            auto* line = new QFrame(parent);
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            w = line;
            break;
        }
        case ControlKind::DirList: {
            // As the old folder list: the current folder's ancestors, the folder, its subfolders.
            auto* list = new QListWidget(parent);
            QObject::connect(list, &QListWidget::itemClicked, list,
                             [this, name](QListWidgetItem* item) {
                                 SetCaption(name, S(item->data(Qt::UserRole).toString()));
                                 Send(name, UiEvent::Change);
                             });
            w = list;
            break;
        }
        case ControlKind::DriveList: {
            auto* combo = new QComboBox(parent);
            for (const QFileInfo& root : QDir::drives())
                combo->addItem(root.absoluteFilePath(), root.absoluteFilePath());
            if (dosdevices_) {
                for (const QFileInfo& drive :
                     QDir(QString::fromStdString(dosdevices_->string()))
                         .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                    if (drive.fileName().size() != 2 || !drive.fileName().endsWith(u':')) continue;
                    const QString target = drive.canonicalFilePath();
                    combo->addItem(drive.fileName() + QStringLiteral("  ") + target, target);
                }
            }
            QObject::connect(combo, &QComboBox::activated, combo, [this, name, combo] {
                At(name).caption = S(combo->currentData().toString());
                Send(name, UiEvent::Change);
            });
            if (combo->count() > 0) control.caption = S(combo->itemData(0).toString());
            w = combo;
            break;
        }
        case ControlKind::FileList:
            w = new QListWidget(parent);
            break;
        case ControlKind::Menu: {
            QAction* action = nullptr;
            if (c.parent.empty()) {
                const bool hasEntries =
                    std::any_of(form.controls.begin(), form.controls.end(),
                                [&](const ControlDesign& d) { return d.parent == c.name; });
                if (hasEntries) {
                    QMenu* menu = menuBar->addMenu(Q(c.caption));
                    menus[name] = menu;
                    action = menu->menuAction();
                } else {
                    action = menuBar->addAction(Q(c.caption));
                }
            } else if (c.caption == "-") {
                action = menus.at(std::string(c.parent))->addSeparator();
            } else {
                action = menus.at(std::string(c.parent))->addAction(Q(c.caption));
            }
            if (c.name == "menu_personality") {
                action->setCheckable(true);
                action->setChecked(c.checked);
            }
            action->setEnabled(c.enabled);
            action->setObjectName(Q(c.name));
            QObject::connect(action, &QAction::triggered, action, [this, name, action] {
                // The program keeps the check mark itself.
                if (action->isCheckable()) {
                    const QSignalBlocker block(action);
                    action->setChecked(At(name).checked);
                }
                Send(name, UiEvent::Click);
            });
            control.action = action;
            break;
        }
        }
        if (w) {
            w->setObjectName(Q(c.name));
            w->setGeometry(c.x, c.y, c.width, c.height);
            w->setEnabled(c.enabled);
            control.widget = w;
        }
        (*controls_)[name] = std::move(control);
    }
    if (form.name == "frmSplash" || form.name == "frmAbout") {
        auto* picture =
            static_cast<PictureBox*>(At(std::string(form.name) + ".Picture1").widget.data());
        // Drawn at the screen's own scale: sharp, and painted without scaling.
        static const QImage splash = SplashPicture(qApp->devicePixelRatio());
        picture->SetImage(splash);
        picture->lower();
    }
}

void QtWindowSystem::Destroy(std::string_view form) {
    for (auto it = controls_->begin(); it != controls_->end();)
        if (it->second.form == form)
            it = controls_->erase(it);
        else
            ++it;
    auto w = windows_.find(form);
    if (w != windows_.end()) {
        if (w->second) {
            w->second->hide();
            w->second->deleteLater();
        }
        windows_.erase(w);
    }
}

void QtWindowSystem::SetCaption(std::string_view control, std::string_view text) {
    // A closed window's label (the splash's, after start-up) takes the text and shows nothing.
    if (!Find(control) && !IsLoaded(FormOfControl(control))) return;
    Control& c = At(control);
    c.caption = std::string(text);
    const QString q = Q(text);
    if (c.widget == windows_[c.form] && c.widget) {
        c.widget->setWindowTitle(q);
        return;
    }
    if (c.action) {
        c.action->setText(q);
        return;
    }
    if (!c.widget) return;
    if (qobject_cast<QLabel*>(c.widget)) {
        if (!c.textDirty) MarkDirty(control);
        c.textDirty = true;
    } else if (auto* button = qobject_cast<QPushButton*>(c.widget))
        button->setText(q);
    else if (auto* frame = qobject_cast<QGroupBox*>(c.widget))
        frame->setTitle(q);
    else if (c.kind == ControlKind::DirList) {
        auto* list = qobject_cast<QListWidget*>(c.widget);
        const QSignalBlocker block(list);
        list->clear();
        const QDir folder(q);
        QStringList chain;
        for (QDir up = folder;;) {
            chain.prepend(up.absolutePath());
            if (!up.cdUp()) break;
        }
        const QIcon open = list->style()->standardIcon(QStyle::SP_DirOpenIcon);
        const QIcon closed = list->style()->standardIcon(QStyle::SP_DirClosedIcon);
        auto add = [&](const QString& path, int depth, const QIcon& icon) {
            const QString shown = depth == 0 ? path : QFileInfo(path).fileName();
            auto* item = new QListWidgetItem(icon, QString(depth * 2, u' ') + shown, list);
            item->setData(Qt::UserRole, path);
            return item;
        };
        QListWidgetItem* current = nullptr;
        for (int depth = 0; depth < chain.size(); ++depth)
            current = add(chain[depth], depth, open);
        for (const QFileInfo& sub :
             folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
            add(sub.absoluteFilePath(), static_cast<int>(chain.size()), closed);
        list->setCurrentItem(current);
        c.caption = S(folder.absolutePath());
    } else if (auto* files = qobject_cast<QListWidget*>(c.widget);
               files && c.kind == ControlKind::FileList) {
        files->clear();
        files->addItems(
            QDir(q).entryList({QStringLiteral("*.IFF")}, QDir::Files)); // letter case ignored
    }
}

std::string QtWindowSystem::Caption(std::string_view control) const {
    const Control* c = Find(control);
    if (!c) return {};
    if (auto* combo = qobject_cast<QComboBox*>(c->widget.data());
        combo && c->kind == ControlKind::Combo)
        return S(combo->currentText());
    return c->caption;
}

void QtWindowSystem::SetEnabled(std::string_view control, bool enabled) {
    Control& c = At(control);
    c.enabled = enabled;
    if (c.action) c.action->setEnabled(enabled);
    if (c.widget) c.widget->setEnabled(enabled);
}

bool QtWindowSystem::IsEnabled(std::string_view control) const {
    const Control* c = Find(control);
    return c && c->enabled;
}

void QtWindowSystem::SetChecked(std::string_view menuEntry, bool checked) {
    Control& c = At(menuEntry);
    c.checked = checked;
    if (c.action) {
        const QSignalBlocker block(c.action);
        c.action->setChecked(checked);
    }
}

bool QtWindowSystem::IsChecked(std::string_view menuEntry) const {
    const Control* c = Find(menuEntry);
    return c && c->checked;
}

void QtWindowSystem::ListClear(std::string_view list) {
    At(list).pendingItems.clear();
    QWidget* w = At(list).widget;
    const QSignalBlocker block(w);
    if (auto* l = qobject_cast<QListWidget*>(w))
        l->clear();
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        combo->clear();
}

void QtWindowSystem::ListAdd(std::string_view list, std::string_view item) {
    Control& c = At(list);
    QWidget* w = c.widget;
    const QSignalBlocker block(w);
    if (qobject_cast<QListWidget*>(w)) {
        if (c.pendingItems.empty()) MarkDirty(list);
        c.pendingItems.push_back(Q(item));
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->addItem(Q(item));
        combo->setCurrentIndex(-1); // the drop-down shows no choice until one is made
    }
}

int QtWindowSystem::ListCount(std::string_view list) const {
    const Control* c = Find(list);
    if (!c) return 0;
    if (auto* l = qobject_cast<QListWidget*>(c->widget.data()))
        return l->count() + static_cast<int>(c->pendingItems.size());
    if (auto* combo = qobject_cast<QComboBox*>(c->widget.data())) return combo->count();
    return 0;
}

std::string QtWindowSystem::ListItem(std::string_view list, int index) const {
    const Control* c = Find(list);
    if (!c) return {};
    if (auto* l = qobject_cast<QListWidget*>(c->widget.data())) {
        if (index >= l->count() && index - l->count() < static_cast<int>(c->pendingItems.size()))
            return S(c->pendingItems[static_cast<std::size_t>(index - l->count())]);
        const QListWidgetItem* item = l->item(index);
        return item ? S(item->text()) : std::string();
    }
    if (auto* combo = qobject_cast<QComboBox*>(c->widget.data())) return S(combo->itemText(index));
    return {};
}

bool QtWindowSystem::ListSelected(std::string_view list, int index) const {
    const Control* c = Find(list);
    if (!c) return false;
    if (auto* l = qobject_cast<QListWidget*>(c->widget.data())) {
        const QListWidgetItem* item = l->item(index);
        return item && item->isSelected();
    }
    if (auto* combo = qobject_cast<QComboBox*>(c->widget.data()))
        return combo->currentIndex() == index && index >= 0;
    return false;
}

void QtWindowSystem::ListSelect(std::string_view list, int index) {
    FlushList(At(list));
    QWidget* w = At(list).widget;
    const QSignalBlocker block(w);
    if (auto* l = qobject_cast<QListWidget*>(w)) {
        const QSignalBlocker blockSelection(l->selectionModel());
        l->clearSelection();
        if (index >= 0 && index < l->count()) {
            l->setCurrentRow(index);
            l->item(index)->setSelected(true);
        }
        l->viewport()->update();
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}

bool QtWindowSystem::SetPictureBitmap(std::string_view box, const Bytes& bmpFile) {
    QImage image;
    if (!image.loadFromData(bmpFile.data(), static_cast<int>(bmpFile.size())) || image.isNull())
        return false;
    Control& c = At(box);
    c.picture = image;
    if (auto* picture = dynamic_cast<PictureBox*>(c.widget.data())) picture->SetImage(image);
    return true;
}

void QtWindowSystem::SetPictureStock(std::string_view box) {
    CopyPicture(kStockPictureBox, box);
}

void QtWindowSystem::CopyPicture(std::string_view from, std::string_view to) {
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

void QtWindowSystem::PictureClear(std::string_view box) {
    Box(At(box).widget)->ClearDrawing();
}

void QtWindowSystem::SetLineWidth(std::string_view box, int width) {
    Box(At(box).widget)->lineWidth = width;
}

void QtWindowSystem::FillRect(std::string_view box, float x1, float y1, float x2, float y2,
                              Rgb colour) {
    PictureBox* b = Box(At(box).widget);
    b->AddOp({PictureBox::Op::Kind::Fill, x1, y1, x2, y2, 0, colour, b->lineWidth});
}

void QtWindowSystem::DrawLine(std::string_view box, float x1, float y1, float x2, float y2,
                              Rgb colour) {
    PictureBox* b = Box(At(box).widget);
    b->AddOp({PictureBox::Op::Kind::Line, x1, y1, x2, y2, 0, colour, b->lineWidth});
}

void QtWindowSystem::DrawArc(std::string_view box, float cx, float cy, float radius,
                             float fromAngle, float toAngle, std::optional<Rgb> colour) {
    PictureBox* b = Box(At(box).widget);
    b->AddOp({PictureBox::Op::Kind::Arc, cx, cy, radius, fromAngle, toAngle, colour, b->lineWidth});
}

float QtWindowSystem::ScaleWidth(std::string_view box) const {
    const Control* c = Find(box);
    auto* b = c ? dynamic_cast<PictureBox*>(c->widget.data()) : nullptr;
    return b ? b->InnerWidth() : 0;
}

float QtWindowSystem::ScaleHeight(std::string_view box) const {
    const Control* c = Find(box);
    auto* b = c ? dynamic_cast<PictureBox*>(c->widget.data()) : nullptr;
    return b ? b->InnerHeight() : 0;
}

void QtWindowSystem::SetScrollRange(std::string_view bar, int min, int max, int smallChange,
                                    int largeChange) {
    auto* b = qobject_cast<QScrollBar*>(At(bar).widget);
    const QSignalBlocker block(b);
    b->setRange(min, max);
    b->setSingleStep(smallChange);
    b->setPageStep(largeChange);
}

bool QtWindowSystem::SetScrollValue(std::string_view bar, int value) {
    auto* b = qobject_cast<QScrollBar*>(At(bar).widget);
    if (value < b->minimum() || value > b->maximum())
        throw std::out_of_range("scroll bar value outside its range");
    const QSignalBlocker block(b);
    const bool changed = b->value() != value;
    b->setValue(value);
    return changed;
}

int QtWindowSystem::ScrollValue(std::string_view bar) const {
    const Control* c = Find(bar);
    auto* b = c ? qobject_cast<QScrollBar*>(c->widget.data()) : nullptr;
    return b ? b->value() : 0;
}

void QtWindowSystem::SetFillStyle(std::string_view shape, int style) {
    auto* s = dynamic_cast<ShapeBox*>(At(shape).widget.data());
    s->fillStyle = style;
    s->update();
}

int QtWindowSystem::FillStyle(std::string_view shape) const {
    const Control* c = Find(shape);
    auto* s = c ? dynamic_cast<ShapeBox*>(c->widget.data()) : nullptr;
    return s ? s->fillStyle : 1;
}

void QtWindowSystem::SetWindowIcon(int index) {
    icon_ = index;
    if (QWidget* w = Window("Form1")) w->setWindowIcon(FaceIcon(index));
}

void QtWindowSystem::LoadForm(std::string_view form) {
    if (IsLoaded(form)) return;
    Build(FormDesignOf(form));
}

void QtWindowSystem::ShowForm(std::string_view form) {
    Flush();
    LoadForm(form);
    QWidget* w = Window(form);
    if (form != "Form1") CentreOnScreen(w);
    w->show();
    w->raise();
}

void QtWindowSystem::ShowModal(std::string_view form) {
    Flush();
    LoadForm(form);
    auto* dialog = qobject_cast<QDialog*>(Window(form));
    if (!dialog) return;
    CentreOnScreen(dialog);
    dialog->exec();
    if (IsLoaded(form) && Window(form) == dialog) Destroy(form);
}

void QtWindowSystem::UnloadForm(std::string_view form) {
    if (form == "Form1") return;
    if (auto* dialog = qobject_cast<QDialog*>(Window(form))) dialog->done(0);
    Destroy(form);
}

bool QtWindowSystem::IsLoaded(std::string_view form) const {
    auto it = windows_.find(form);
    return it != windows_.end() && it->second;
}

QWidget* QtWindowSystem::Window(std::string_view form) const {
    auto it = windows_.find(form);
    return it == windows_.end() ? nullptr : it->second.data();
}

QWidget* QtWindowSystem::Widget(std::string_view control) const {
    const Control* c = Find(control);
    return c ? c->widget.data() : nullptr;
}

QAction* QtWindowSystem::Action(std::string_view menuEntry) const {
    const Control* c = Find(menuEntry);
    return c ? c->action : nullptr;
}

MsgAnswer QtWindowSystem::MessageBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                                     std::string_view title) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case MsgIcon::Critical:
        qicon = QMessageBox::Critical;
        break;
    case MsgIcon::Question:
        qicon = QMessageBox::Question;
        break;
    case MsgIcon::Exclamation:
        qicon = QMessageBox::Warning;
        break;
    case MsgIcon::Information:
        qicon = QMessageBox::Information;
        break;
    case MsgIcon::None:
        break;
    }
    Flush();
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = Window("Form1");
    if (parent && !parent->isVisible()) parent = nullptr;
    QMessageBox box(qicon, Q(title), Q(text),
                    buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                 : QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("MsgBox"));
    const int answer = box.exec();
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
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

void QtWindowSystem::ShellOpen(std::string_view, std::string_view document) {
    (void)QDesktopServices::openUrl(QUrl(Q(document))); // failures are ignored
}

double QtWindowSystem::TimeOfDay() {
    if (clock) return clock();
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void QtWindowSystem::SeedRandom(double seed) {
    rng_.seed(static_cast<std::uint32_t>(std::fmod(seed * 1000.0, 4294967296.0)));
}

float QtWindowSystem::Random() {
    return static_cast<float>(rng_() >> 8) * (1.0f / 16777216.0f);
}

void QtWindowSystem::EndProgram(int exitCode) {
    ended_ = true;
    exitCode_ = exitCode;
    SetPointer(MousePointer::Default);
    for (auto& [name, window] : windows_)
        if (window) window->hide();
    // Outside every event loop (start-up, tests) there is nothing to leave; asking anyway
    // would make the next loop return at once.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(exitCode);
}

void QtWindowSystem::ProcessEvents() {
    Flush(false);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtWindowSystem::IdleTurn(double maxSeconds) {
    ProcessEvents();
    // A wait is idle time: the hidden main window takes its lines and is laid out and painted
    // once off screen, so that showing it later costs little.
    if (QWidget* main = Window("Form1");
        main && !main->isVisible() && ListCount("List1") > 0 && !prepared_) {
        Flush(true);
        (void)main->grab();
        prepared_ = true;
    }
    const auto ms = static_cast<unsigned long>(std::clamp(maxSeconds * 1000.0, 0.0, 5.0));
    if (!clock && ms > 0) QThread::msleep(ms);
}

} // namespace adultify::qt
