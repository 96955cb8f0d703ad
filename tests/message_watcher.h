// Answers the installer's message dialogs shown by this thread, as a user
// would, and records what they said.
#ifndef MORIVANE_MESSAGE_WATCHER_H
#define MORIVANE_MESSAGE_WATCHER_H

#include <windows.h>

#include <string>
#include <vector>

struct SeenMessage {
    std::string text;     // the main text (GBK)
    std::string subText;  // the secondary text
    bool drawnWhole;      // the main text control shows all of `text`
};

// The message dialog this thread shows, or null.
HWND FindThreadMessageDialog(void);

class MessageWatcher {
public:
    explicit MessageWatcher(int answer = IDOK);
    ~MessageWatcher();
    std::vector<SeenMessage> seen;
    int answer;

private:
    UINT_PTR timer;
};

#endif
