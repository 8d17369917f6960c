#pragma once

#include "datestore.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QLockFile;
class QSocketNotifier;
class QWidget;
class TForm1;

// One copy of the program for each month.dat (the same file after links are
// resolved) and user, so that two copies never write their lists over each
// other's. The running copy holds a lock named after the file in the user's
// runtime folder and listens on a socket beside it; a later start on the same
// file asks it to bring its window forward, and ends. A copy that does not
// answer within a few seconds (hung, stopped) counts as gone, and a killed
// one leaves nothing that stops a start. A copy that is closing stops
// listening but keeps the lock until it has kept its dates: a later start
// waits for it, then opens its own window on the list it saved. Copies on
// other files run side by side.
class OneCopy : public QObject {
public:
    // Looks for a running copy on the store; call before any window is made.
    explicit OneCopy(const QString& storePath = DateStore::defaultPath());
    ~OneCopy() override;

    // A copy already runs on this month.dat and has brought its window
    // forward: this start ends here.
    bool handedOver() const { return m_handedOver; }
    // From now on, a later start brings this window forward, or the modal
    // window open over it, until the window begins to close.
    void bringForwardOnRequest(TForm1& mainWindow);

private:
    bool listen();
    void stopListening();
    void answerLaterStarts();

    std::unique_ptr<QLockFile> m_lock;
    QByteArray m_socketPath;
    int m_listening = -1;
    QSocketNotifier* m_notifier = nullptr;
    QPointer<QWidget> m_mainWindow;
    bool m_handedOver = false;
};
