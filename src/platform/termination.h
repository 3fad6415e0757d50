#pragma once
// A request to end the program from outside (SIGTERM at logout, Ctrl+C in a
// terminal) closes the panel window the normal way, so shut-down still
// releases the port and saves the settings.

#include <functional>

class QObject;

// Calls `close` on the event loop when such a request arrives.
void on_termination_request(QObject* owner, std::function<void()> close);
