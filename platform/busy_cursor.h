// While a BusyCursor lives, the pointer shows the busy cursor over a screen window (its menu
// bar included), so a person sees that a drawing is under way; afterwards the window's own
// cursor comes back. Guards on the same window nest. Null, offscreen windows and a window
// destroyed meanwhile are left alone; boxes shown during the work keep their own cursor.
#pragma once

namespace toven::platform {

class Window;

class BusyCursor {
  public:
    explicit BusyCursor(Window* window);
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    Window* window_;
};

}  // namespace toven::platform
