#include "ui/widgets/Accessibility.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QGraphicsProxyWidget>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QWindow>

#include "ui/widgets/Announcer.h"
#include "ui/widgets/ControlBindings.h"
#include "ui/widgets/FormView.h"
#include "ui/widgets/KeyboardNavigation.h"

namespace widgets {

namespace {

std::vector<FormAccessibility*>& windows() {
    static std::vector<FormAccessibility*> open;
    return open;
}

// The application's accessible object lists the windows of the application. The controls'
// widgets are windows to Qt too, but they belong to the window's scene: they are its children.
class Application : public QAccessibleApplication {
  public:
    int childCount() const override { return static_cast<int>(topLevels().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QObject*> windows = topLevels();
        if (index < 0 || index >= static_cast<int>(windows.size())) {
            return nullptr;
        }
        return QAccessible::queryAccessibleInterface(windows[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) {
            return -1;
        }
        const std::vector<QObject*> windows = topLevels();
        const auto found = std::find(windows.begin(), windows.end(), child->object());
        return found == windows.end() ? -1 : static_cast<int>(found - windows.begin());
    }

  private:
    static std::vector<QObject*> topLevels() {
        std::vector<QObject*> objects;
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            if (window->type() == Qt::Popup || window->type() == Qt::Desktop) {
                continue;
            }
            QAccessibleInterface* root = window->accessibleRoot();
            if (root == nullptr || root->object() == nullptr) {
                continue;
            }
            const auto* widget = qobject_cast<const QWidget*>(root->object());
            if (widget != nullptr && widget->graphicsProxyWidget() != nullptr) {
                continue;
            }
            objects.push_back(root->object());
        }
        return objects;
    }
};

QAccessible::Role roleOf(const ui::Control& control) {
    switch (control.kind()) {
        case ui::ControlKind::Label:
            return QAccessible::StaticText;
        case ui::ControlKind::Button:
            return QAccessible::Button;
        case ui::ControlKind::TrackBar:
            return QAccessible::Slider;
        case ui::ControlKind::ProgressBar:
            return QAccessible::ProgressBar;
        case ui::ControlKind::ComboBox:
            return QAccessible::ComboBox;
        case ui::ControlKind::Panel:
            return QAccessible::Pane;
        case ui::ControlKind::ImageViewer:
            // A picture is offered only where it says something in words.
            return QAccessible::StaticText;
    }
    return QAccessible::NoRole;
}

// The window that shows a widget, and the widget's control; none while the widget belongs to no
// window with a screen reader's view (yet, or any more).
struct Owned {
    FormAccessibility* owner = nullptr;
    ui::Control* control = nullptr;
};

Owned ownerOf(const QWidget* widget) {
    for (FormAccessibility* owner : windows()) {
        if (ui::Control* control = owner->view().controlOf(widget)) {
            return {owner, control};
        }
    }
    return {};
}

class CellInterface;

// One control's widget, read from its control and pressed through the widget's own input. The
// grid's viewer is besides a table of cells while it shows a table, and the text of the page it
// shows otherwise; its description is what the pupil reads above it while answering.
//
// Qt may ask for a widget's accessible object as soon as the widget is made, before its window
// knows it: the window and the control are looked up at every question, not kept.
class ControlInterface : public QAccessibleWidget,
                         public QAccessibleValueInterface,
                         public QAccessibleTableInterface {
  public:
    explicit ControlInterface(QWidget* widget) : QAccessibleWidget(widget) {}
    ~ControlInterface() override {
        for (const QAccessible::Id id : cells_) {
            if (id != 0) {
                QAccessible::deleteAccessibleInterface(id);
            }
        }
    }

    Owned owned() const { return ownerOf(widget()); }
    bool isGrid() const {
        const Owned o = owned();
        return o.owner != nullptr && o.control == o.owner->keyboard().grid.viewer;
    }
    bool showsTable() const {
        const Owned o = owned();
        return o.owner != nullptr && o.control == o.owner->keyboard().grid.viewer &&
               o.owner->roles().page().isEmpty();
    }

    bool isValid() const override {
        return QAccessibleWidget::isValid() && owned().owner != nullptr;
    }
    QWindow* window() const override {
        const Owned o = owned();
        return o.owner != nullptr ? o.owner->view().window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        const Owned o = owned();
        return o.owner != nullptr ? QAccessible::queryAccessibleInterface(&o.owner->view())
                                  : nullptr;
    }
    int childCount() const override { return showsTable() ? rows() * columns() : 0; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        return cellAt(index / columns(), index % columns());
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t i = 0; i < cells_.size(); ++i) {
            if (cells_[i] != 0 && QAccessible::accessibleInterface(cells_[i]) == child) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* cell = child(i);
            if (cell->rect().contains(x, y)) {
                return cell;
            }
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        if (!showsTable() || !widget()->hasFocus()) {
            return nullptr;
        }
        const GridCell cell = owned().owner->keys().focusCell();
        return cellAt(cell.row - 1, cell.column - 1);
    }

    QRect rect() const override {
        const Owned o = owned();
        return o.owner != nullptr ? o.owner->view().screenRect(QRectF(widget()->geometry()))
                                  : QRect();
    }

    QAccessible::Role role() const override {
        const Owned o = owned();
        if (o.owner == nullptr) {
            return QAccessible::NoRole;
        }
        // A screen reader keeps the role it first met: the grid is a table also while it shows a
        // page, then one of no cells.
        if (o.control == o.owner->keyboard().grid.viewer) {
            return QAccessible::Table;
        }
        if (o.owner->isChoice(*o.control)) {
            return QAccessible::RadioButton;
        }
        return roleOf(*o.control);
    }

    QString text(QAccessible::Text t) const override {
        const Owned o = owned();
        if (o.owner == nullptr) {
            return QString();
        }
        const bool grid = o.control == o.owner->keyboard().grid.viewer;
        if (t == QAccessible::Name) {
            if (grid) {
                return o.owner->roles().page().join(QLatin1Char('\n'));
            }
            return o.owner->nameOf(*o.control);
        }
        if (t == QAccessible::Description) {
            if (o.control->kind() == ui::ControlKind::ComboBox) {
                const auto& combo = static_cast<const ui::ComboBox&>(*o.control);
                return combo.items().value(combo.itemIndex());
            }
        }
        return QString();
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        const QWidget* w = widget();
        const Owned o = owned();
        if (o.owner == nullptr) {
            state.invalid = true;
            return state;
        }
        const bool shown = shownInWindow(*o.control);
        state.invisible = !shown;
        state.offscreen = shown && o.owner->view().covered(w);
        state.disabled = !w->isEnabled();
        state.focusable = w->focusPolicy() != Qt::NoFocus;
        state.focused = w->hasFocus();
        if (o.control->kind() == ui::ControlKind::Button) {
            const auto& button = static_cast<const ui::Button&>(*o.control);
            if (button.staysPressed()) {
                state.checkable = true;
                state.checked = button.pressed();
                state.pressed = button.pressed();
            }
            // A choice is checked while it is the one chosen: Orca says "selected" of a radio
            // button that is checked, and nothing of a push button's state.
            if (const ui::Choice* choice = o.owner->choiceOf(button)) {
                state.checkable = true;
                state.checked = choice->chosen();
            }
        }
        return state;
    }

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override {
        QList<QPair<QAccessibleInterface*, QAccessible::Relation>> found;
        const Owned o = owned();
        if (o.owner == nullptr) {
            return found;
        }
        for (const ui::Caption& caption : o.owner->roles().captions) {
            if (caption.control == o.control && (match & QAccessible::Label)) {
                if (QWidget* label = o.owner->view().widgetFor(*caption.label)) {
                    found.append(
                        {QAccessible::queryAccessibleInterface(label), QAccessible::Label});
                }
            }
            if (caption.label == o.control && (match & QAccessible::Labelled)) {
                if (QWidget* captioned = o.owner->view().widgetFor(*caption.control)) {
                    found.append(
                        {QAccessible::queryAccessibleInterface(captioned), QAccessible::Labelled});
                }
            }
        }
        return found;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        const Owned o = owned();
        if (o.owner == nullptr) {
            return nullptr;
        }
        const ui::ControlKind kind = o.control->kind();
        if (t == QAccessible::ValueInterface &&
            (kind == ui::ControlKind::TrackBar || kind == ui::ControlKind::ProgressBar)) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        if (t == QAccessible::TableInterface && isGrid()) {
            return static_cast<QAccessibleTableInterface*>(this);
        }
        if (t == QAccessible::ActionInterface && !actionNames().isEmpty()) {
            return static_cast<QAccessibleActionInterface*>(this);
        }
        return nullptr;
    }

    // Buttons are pressed and the language box opened as a click would; what the mouse could
    // not click at this moment is refused. The grid's cells are pressed, not the grid.
    QStringList actionNames() const override {
        const Owned o = owned();
        if (o.owner == nullptr) {
            return {};
        }
        switch (o.control->kind()) {
            case ui::ControlKind::Button:
                return {QAccessibleActionInterface::pressAction()};
            case ui::ControlKind::ComboBox:
                return {QAccessibleActionInterface::showMenuAction()};
            default:
                return {};
        }
    }
    void doAction(const QString& action) override {
        if (!actionNames().contains(action) || !reachable()) {
            return;
        }
        if (auto* button = qobject_cast<QPushButton*>(widget())) {
            button->click();
        } else if (auto* combo = qobject_cast<QComboBox*>(widget())) {
            combo->showPopup();
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // A track bar's value and a progress bar's, in the control's own units.
    QVariant currentValue() const override {
        return valueOf(&ui::TrackBar::value, &ui::ProgressBar::value);
    }
    // Moves the slider, as a drag would, which sets the track bar.
    void setCurrentValue(const QVariant& value) override {
        auto* slider = qobject_cast<QSlider*>(widget());
        if (slider == nullptr || !reachable()) {
            return;
        }
        slider->setValue(static_cast<int>(std::lround(value.toDouble() * 100.0)));
    }
    QVariant maximumValue() const override {
        return valueOf(&ui::TrackBar::maximum, &ui::ProgressBar::maximum);
    }
    QVariant minimumValue() const override {
        return valueOf(&ui::TrackBar::minimum, &ui::ProgressBar::minimum);
    }
    QVariant minimumStepSize() const override { return 1.0; }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int) const override { return QString(); }
    QString rowDescription(int) const override { return QString(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return columns(); }
    int rowCount() const override { return rows(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    using QAccessibleWidget::widget;

  private:
    bool reachable() const {
        const Owned o = owned();
        return o.owner != nullptr && o.owner->view().reachable(widget());
    }
    QVariant valueOf(double (ui::TrackBar::*trackBar)() const,
                     double (ui::ProgressBar::*progressBar)() const) const {
        const Owned o = owned();
        if (o.owner == nullptr) {
            return QVariant();
        }
        if (o.control->kind() == ui::ControlKind::TrackBar) {
            return (static_cast<const ui::TrackBar&>(*o.control).*trackBar)();
        }
        if (o.control->kind() == ui::ControlKind::ProgressBar) {
            return (static_cast<const ui::ProgressBar&>(*o.control).*progressBar)();
        }
        return QVariant();
    }
    int columns() const { return showsTable() ? owned().owner->keyboard().grid.columns : 0; }
    int rows() const { return showsTable() ? owned().owner->keyboard().grid.rows : 0; }

    mutable std::array<QAccessible::Id, 90> cells_{};
};

// One cell of the grid's table: its number (or the board's) as its name, its state on the
// board as its description; pressed at its centre, as Enter presses the focus cell.
class CellInterface : public QAccessibleInterface,
                      public QAccessibleTableCellInterface,
                      public QAccessibleActionInterface {
  public:
    CellInterface(ControlInterface& grid, GridCell cell) : grid_(grid), cell_(cell) {}

    bool isValid() const override { return grid_.isValid() && grid_.showsTable(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid_.window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return &grid_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        FormAccessibility* owner = grid_.owned().owner;
        if (owner == nullptr) {
            return QString();
        }
        if (t == QAccessible::Name) {
            return owner->roles().cellText(cell_.column, cell_.row);
        }
        if (t == QAccessible::Description) {
            return owner->roles().cellState(cell_.column, cell_.row);
        }
        return QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        FormAccessibility* owner = grid_.owned().owner;
        if (owner == nullptr) {
            return QRect();
        }
        const QRectF frame = owner->keyboard().grid.frame(cell_.column, cell_.row);
        return owner->view().screenRect(
            frame.translated(QRectF(grid_.widget()->geometry()).topLeft()));
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        const QAccessible::State grid = grid_.state();
        QAccessible::State state;
        state.invisible = grid.invisible;
        state.offscreen = grid.offscreen;
        state.disabled = grid.disabled;
        state.focusable = true;
        FormAccessibility* owner = grid_.owned().owner;
        state.focused = grid.focused && owner != nullptr && owner->keys().focusCell() == cell_;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        if (t == QAccessible::ActionInterface) {
            return static_cast<QAccessibleActionInterface*>(this);
        }
        return nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return cell_.column - 1; }
    int rowIndex() const override { return cell_.row - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return &grid_; }

    QStringList actionNames() const override { return {QAccessibleActionInterface::pressAction()}; }
    void doAction(const QString& action) override {
        FormAccessibility* owner = grid_.owned().owner;
        if (action != QAccessibleActionInterface::pressAction() || owner == nullptr ||
            !owner->view().reachable(grid_.widget())) {
            return;
        }
        owner->keys().pressCell(cell_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    ControlInterface& grid_;
    GridCell cell_;
};

QAccessibleInterface* ControlInterface::cellAt(int row, int column) const {
    if (row < 0 || row >= rows() || column < 0 || column >= columns()) {
        return nullptr;
    }
    QAccessible::Id& id = cells_[static_cast<std::size_t>(row * columns() + column)];
    if (id == 0) {
        id = QAccessible::registerAccessibleInterface(
            new CellInterface(const_cast<ControlInterface&>(*this), GridCell{column + 1, row + 1}));
    }
    return QAccessible::accessibleInterface(id);
}

FormAccessibility* ownerOfView(const QWidget* view) {
    for (FormAccessibility* owner : windows()) {
        if (&owner->view() == view) {
            return owner;
        }
    }
    return nullptr;
}

// The window: its children are the controls a screen reader is offered.
class WindowInterface : public QAccessibleWidget {
  public:
    explicit WindowInterface(QWidget* view) : QAccessibleWidget(view, QAccessible::Window) {}

    int childCount() const override {
        FormAccessibility* owner = ownerOfView(widget());
        return owner != nullptr ? static_cast<int>(owner->offered().size()) : 0;
    }
    QAccessibleInterface* child(int index) const override {
        FormAccessibility* owner = ownerOfView(widget());
        if (owner == nullptr) {
            return nullptr;
        }
        const std::vector<ui::Control*> offered = owner->offered();
        if (index < 0 || index >= static_cast<int>(offered.size())) {
            return nullptr;
        }
        return QAccessible::queryAccessibleInterface(
            owner->view().widgetFor(*offered[static_cast<std::size_t>(index)]));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        FormAccessibility* owner = ownerOfView(widget());
        if (owner == nullptr || child == nullptr) {
            return -1;
        }
        const ui::Control* control = owner->view().controlOf(child->object());
        const std::vector<ui::Control*> offered = owner->offered();
        const auto found = std::find(offered.begin(), offered.end(), control);
        return found == offered.end() ? -1 : static_cast<int>(found - offered.begin());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        FormAccessibility* owner = ownerOfView(widget());
        if (owner == nullptr) {
            return nullptr;
        }
        const FormView& view = owner->view();
        const QPointF design = view.mapToScene(view.viewport()->mapFromGlobal(QPoint(x, y)));
        QAccessibleInterface* found = QAccessible::queryAccessibleInterface(view.widgetAt(design));
        return indexOfChild(found) >= 0 ? found : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        FormAccessibility* owner = ownerOfView(widget());
        QWidget* focused = owner != nullptr ? owner->view().focusedWidget() : nullptr;
        return focused != nullptr ? QAccessible::queryAccessibleInterface(focused) : nullptr;
    }
};

QAccessibleInterface* accessibleFor(const QString&, QObject* object) {
    if (object == qApp) {
        return new Application;
    }
    if (object == nullptr || !object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (auto* announcer = dynamic_cast<Announcer*>(widget)) {
        return announcerInterface(announcer);
    }
    if (widget->property(kControlProperty).toBool()) {
        return new ControlInterface(widget);
    }
    if (dynamic_cast<FormView*>(widget) != nullptr) {
        return new WindowInterface(widget);
    }
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    (void)installed;
}

FormAccessibility::FormAccessibility(FormView& view, KeyboardNavigation& keys,
                                     ui::KeyboardRoles keyboard, ui::AccessibleRoles roles)
    : QObject(&view),
      view_(view),
      keys_(keys),
      keyboard_(std::move(keyboard)),
      roles_(std::move(roles)),
      announcer_(new Announcer(&view)),
      toldPictures_(roles_.pictures.size()) {
    installAccessibility();
    windows().push_back(this);
    view_.onSynced = [self = QPointer<FormAccessibility>(this)] {
        if (self != nullptr) {
            self->tellChanges();
        }
    };
    // The widgets go before this object, a child of the window: from then on they have no owner
    // for a screen reader that asks about them.
    view_.onDestroying = [this] {
        std::erase(windows(), this);
        // The grid outlives the window's list of controls, which the filter must not look into.
        if (grid_ != nullptr) {
            grid_->removeEventFilter(this);
        }
    };
    keys_.onFocusCellMoved = [self = QPointer<FormAccessibility>(this)] {
        if (self != nullptr) {
            self->tellFocusCell();
        }
    };
    grid_ = gridWidget();
    grid_->installEventFilter(this);
    if (!roles_.spokenKeys.empty()) {
        // After the keyboard's own filter, so that this one sees a key first.
        view_.installEventFilter(this);
    }
}

bool FormAccessibility::spokenKey(const QKeyEvent& key) {
    const auto found =
        std::find_if(roles_.spokenKeys.begin(), roles_.spokenKeys.end(),
                     [&key](const ui::SpokenKey& spoken) { return spoken.key == key.key(); });
    if (found == roles_.spokenKeys.end()) {
        return false;
    }
    // A held key says it once.
    if (!key.isAutoRepeat() && listening()) {
        if (QString text = found->text(); !text.isEmpty()) {
            queueNews({std::move(text)});
        }
    }
    return true;
}

bool FormAccessibility::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &view_ && event->type() == QEvent::KeyPress) {
        return spokenKey(*static_cast<const QKeyEvent*>(event));
    }
    if (watched == grid_ && event->type() == QEvent::FocusIn && listening()) {
        // After Qt has told of the grid's own focus.
        QMetaObject::invokeMethod(
            this, [this] { tellFocusCell(); }, Qt::QueuedConnection);
    }
    return false;
}

FormAccessibility::~FormAccessibility() {
    std::erase(windows(), this);
}

QWidget* FormAccessibility::gridWidget() const {
    return view_.widgetFor(*keyboard_.grid.viewer);
}

std::vector<ui::Control*> FormAccessibility::offered() const {
    std::vector<ui::Control*> offered;
    for (ui::Control* control : keyboard_.focusOrder) {
        if (shownInWindow(*control)) {
            offered.push_back(control);
        }
    }
    for (ui::Control* control : view_.controls()) {
        if (std::find(keyboard_.focusOrder.begin(), keyboard_.focusOrder.end(), control) !=
                keyboard_.focusOrder.end() ||
            !shownInWindow(*control)) {
            continue;
        }
        const bool tells = control->kind() == ui::ControlKind::ProgressBar ||
                           control->kind() == ui::ControlKind::TrackBar ||
                           control->kind() == ui::ControlKind::Button ||
                           control->kind() == ui::ControlKind::ComboBox ||
                           ((control->kind() == ui::ControlKind::Label ||
                             control->kind() == ui::ControlKind::ImageViewer) &&
                            !nameOf(*control).isEmpty());
        if (tells) {
            offered.push_back(control);
        }
    }
    return offered;
}

QString FormAccessibility::nameOf(const ui::Control& control) const {
    for (const ui::Naming& naming : roles_.names) {
        if (naming.control == &control) {
            return naming.name();
        }
    }
    for (const ui::Caption& caption : roles_.captions) {
        if (caption.control == &control) {
            return caption.label->text();
        }
    }
    for (const ui::PictureReading& picture : roles_.pictures) {
        if (picture.viewer == &control) {
            return picture.text();
        }
    }
    if (const auto* text = dynamic_cast<const ui::TextControl*>(&control)) {
        return text->text();
    }
    return QString();
}

QString FormAccessibility::seenText(const ui::Label& label) const {
    if (!shownInWindow(label)) {
        return QString();
    }
    // A label under another control is not seen.
    if (const QWidget* widget = view_.widgetFor(label);
        widget == nullptr || view_.covered(widget)) {
        return QString();
    }
    return label.text();
}

void FormAccessibility::announceNews() {
    QStringList news;
    toldNews_.resize(roles_.news.size());
    toldLabels_.resize(roles_.news.size());
    for (std::size_t i = 0; i < roles_.news.size(); ++i) {
        const ui::News& item = roles_.news[i];
        QString text;
        if (item.label != nullptr) {
            text = seenText(*item.label);
            if (text == toldLabels_[i]) {
                continue;
            }
            toldLabels_[i] = text;
        } else {
            const long long version = item.version();
            if (version == toldNews_[i]) {
                continue;
            }
            toldNews_[i] = version;
            text = item.text();
        }
        if (newsPrimed_ && !text.isEmpty()) {
            news.append(text);
        }
    }
    // A help page is read when it shows.
    if (QString page = roles_.page().join(QLatin1Char(' ')); page != toldNewsPage_) {
        toldNewsPage_ = page;
        if (newsPrimed_ && !page.isEmpty()) {
            news.append(page);
        }
    }
    // What shows when the screen reader begins to listen is read with the focus, not told.
    newsPrimed_ = true;
    if (news.isEmpty()) {
        return;
    }
    queueNews(news);
}

void FormAccessibility::queueNews(const QStringList& news) {
    // Told after the event's own changes of focus: Orca speaks the newest thing over the one
    // before, and the news must not be cut short by the name of the control the focus went to.
    const bool waiting = !pendingNews_.isEmpty();
    pendingNews_.append(news);
    if (!waiting) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                const QString text = pendingNews_.join(QStringLiteral(". "));
                pendingNews_.clear();
                announcer_->announce(text, tell);
            },
            Qt::QueuedConnection);
    }
}

void FormAccessibility::tellOf(QObject* object, QAccessible::Event change) {
    QAccessibleEvent event(object, change);
    tell(&event);
}

void FormAccessibility::tellOf(QAccessibleInterface* about, QAccessible::Event change) {
    QAccessibleEvent event(about, change);
    tell(&event);
}

void FormAccessibility::tellChanges() {
    if (!listening()) {
        return;
    }
    announceNews();
    // A change of the window's children, or of the grid's cells, is not told: Qt 6's AT-SPI
    // bridge sends a reorder as one children-changed signal per child with a string where the
    // child's reference belongs, which every AT-SPI client drops as malformed ("invalid signature
    // siis(so)"). A screen reader asks for the children when it needs them: the grid manages its
    // descendants, so nothing of them is cached.
    tellChosen();
    QWidget* grid = gridWidget();
    for (std::size_t i = 0; i < roles_.pictures.size(); ++i) {
        const ui::PictureReading& picture = roles_.pictures[i];
        QString text = shownInWindow(*picture.viewer) ? picture.text() : QString();
        if (text != toldPictures_[i]) {
            toldPictures_[i] = std::move(text);
            if (QWidget* viewer = view_.widgetFor(*picture.viewer)) {
                tellOf(viewer, QAccessible::NameChanged);
            }
        }
    }
    // The grid's page, or its cells: a new page, or a table in place of a page, is told as new
    // children; a cell that changed (a new board, a cell chosen or found) as its own change.
    QString page = roles_.page().join(QLatin1Char('\n'));
    std::vector<QString> cells;
    if (page.isEmpty()) {
        for (int row = 1; row <= keyboard_.grid.rows; ++row) {
            for (int column = 1; column <= keyboard_.grid.columns; ++column) {
                cells.push_back(roles_.cellText(column, row) + QLatin1Char('\n') +
                                roles_.cellState(column, row));
            }
        }
    }
    std::vector<std::size_t> changed;
    if (cells.size() == toldCells_.size()) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (cells[i] != toldCells_[i]) {
                changed.push_back(i);
            }
        }
    }
    // A whole new table (a new board, the statistics in place of the answers) is told as one
    // change: Orca drops every event beyond a hundred waiting, the news among them.
    constexpr std::size_t kCellsToldOneByOne = 12;
    if (page != toldPage_ || cells.size() != toldCells_.size() ||
        changed.size() > kCellsToldOneByOne) {
        tellOf(grid, QAccessible::NameChanged);
    } else if (auto* table =
                   dynamic_cast<ControlInterface*>(QAccessible::queryAccessibleInterface(grid))) {
        for (const std::size_t i : changed) {
            QAccessibleInterface* cell = table->child(static_cast<int>(i));
            tellOf(cell, QAccessible::NameChanged);
            tellOf(cell, QAccessible::DescriptionChanged);
        }
    }
    toldPage_ = std::move(page);
    toldCells_ = std::move(cells);
}

const ui::Choice* FormAccessibility::choiceOf(const ui::Control& control) const {
    const auto found =
        std::find_if(roles_.choices.begin(), roles_.choices.end(),
                     [&control](const ui::Choice& choice) { return choice.button == &control; });
    return found != roles_.choices.end() ? &*found : nullptr;
}

bool FormAccessibility::isChoice(const ui::Control& control) const {
    return choiceOf(control) != nullptr;
}

void FormAccessibility::tellChosen() {
    toldChosen_.resize(roles_.choices.size());
    for (std::size_t i = 0; i < roles_.choices.size(); ++i) {
        const bool chosen = roles_.choices[i].chosen();
        if (chosen == toldChosen_[i]) {
            continue;
        }
        toldChosen_[i] = chosen;
        if (QWidget* widget = view_.widgetFor(*roles_.choices[i].button)) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent event(widget, changed);
            tell(&event);
        }
    }
}

void FormAccessibility::tellFocusCell() {
    QWidget* grid = gridWidget();
    if (!listening() || !grid->hasFocus()) {
        return;
    }
    if (QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(grid)->focusChild()) {
        tellOf(cell, QAccessible::Focus);
    }
}

}  // namespace widgets
