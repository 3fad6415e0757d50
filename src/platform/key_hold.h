#pragma once
// Space, Return or Enter held on a skinned control: one press when the key
// goes down, one release when it comes up. Auto-repeat is neither, and a
// second activation key while one is held is ignored.

class QKeyEvent;

class KeyHold {
public:
    enum class Step {
        NotMine,  // not an activation key: the widget passes it on
        Nothing,  // taken, but nothing happens (auto-repeat, a second key)
        Press,    // the hold began
        Release,  // the hold ended
    };

    Step key_down(const QKeyEvent* event);
    Step key_up(const QKeyEvent* event);
    bool held() const { return key_ != 0; }
    // The focus left while the key was down: the hold ends without its key.
    void drop() { key_ = 0; }

private:
    int key_ = 0;
};
