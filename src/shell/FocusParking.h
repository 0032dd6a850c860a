#pragma once

class QWidget;

namespace quorvane {

// Where the focus goes when the control holding it is disabled. The toolkit would pass it
// on to the next control, where a second press of Space or Enter (meant for a button that
// is now disabled) would tick a box or press a button. The window itself takes it instead,
// and no key changes anything there.
class FocusParking {
public:
    // Call before disabling `control`; a control inside it counts as well (a frame).
    static void beforeDisabling(QWidget* control);
};

} // namespace quorvane
