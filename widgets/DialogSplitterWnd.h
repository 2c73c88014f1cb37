#pragma once
// A splitter inside a dialog: the commands and notifications that its panes' controls send, which
// the splitter itself does not handle, reach the dialog; the active pane is the one with the focus.

#include <QSplitter>

class DialogSplitterWnd : public QSplitter {
public:
    explicit DialogSplitterWnd(QWidget* parent = nullptr);

    // The pane that holds the focus, or null; its row and column when it is one.
    QWidget* GetActivePane(int* row = nullptr, int* column = nullptr) const;
    // The focus goes to the window, or to the pane at row and column without one.
    void SetActivePane(int row, int column, QWidget* window = nullptr);

protected:
    bool event(QEvent* event) override;

private:
    int PaneIndex(int row, int column) const;
};
