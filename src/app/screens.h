#pragma once

namespace mirudanto::app {

// Creates every screen of the run, once.
void RegisterScreens();

}  // namespace mirudanto::app
