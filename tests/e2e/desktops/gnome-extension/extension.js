// The end-to-end test asks the shell where windows are and answers its
// dialogs through org.gnome.Shell.Eval, which GNOME 43 allows only in its
// unsafe mode: this test session's shell is put in it.
function init() {
    return {
        enable() { global.context.unsafe_mode = true; },
        disable() { global.context.unsafe_mode = false; },
    };
}
