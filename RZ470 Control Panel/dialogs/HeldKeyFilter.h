#pragma once

#include <QHash>
#include <QObject>
#include <QSet>

class QWidget;

// Keeps a key held down elsewhere from acting in one window. A key held down repeats into
// whichever window has the keyboard next: pressed in an entry, its repeats would close the panel
// behind it and then answer the save question. So would a key a tool pressed and never let go
// of, which the display server then repeats for good. In the window, a key's repeats act only
// when its press came to that window; a fresh press acts as always.
class HeldKeyFilter : public QObject {
public:
    // Watches the keys the platform gives window, from now on, until destroyed.
    explicit HeldKeyFilter(QWidget& window);
    ~HeldKeyFilter() override;

    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    QWidget& window_;
    QSet<int> downHere_;               // keys pressed in this window and not let go since
    QHash<int, quint64> lastRelease_;  // each key's last release here, by its event time
    QSet<int> heldAtLastRelease_;      // keys that were down here when last released here
};
