#pragma once

#include <QWidget>

class QListView;
class QStackedLayout;
class QStandardItemModel;
class QTreeView;
class QItemSelectionModel;

namespace qv::catalogue {

/// The list of forms: icon, list and report views over one list of entries (text, the
/// category's icon, a number), single selection, entries in the order added. It reports
/// what the user does in it; the window decides what that means.
class FormsList : public QWidget {
    Q_OBJECT
public:
    enum class View { LargeIcons, SmallIcons, Details };

    explicit FormsList(QWidget* parent = nullptr);

    void clear();
    void addEntry(const QString& text, int image, int data);
    int count() const;
    /// The selected entry's position, or -1.
    int selectedRow() const;
    int dataOf(int row) const;
    QString textOf(int row) const;
    void selectRow(int row);
    void setView(View view);
    View view() const { return view_; }
    /// The view now showing (for focus and for tests).
    QWidget* shownView() const;

signals:
    void clicked();   // left click, or Space
    void navigated(); // Page Up/Down, Home, End, arrows
    void activated(); // double click or Enter
    void rightClicked(const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStandardItemModel* model_;
    QItemSelectionModel* selection_;
    QListView* list_;
    QTreeView* details_;
    QStackedLayout* stack_;
    View view_ = View::SmallIcons;
};

} // namespace qv::catalogue
