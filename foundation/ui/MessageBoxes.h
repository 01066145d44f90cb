#pragma once

// The message service's handler for a program with windows: real message
// boxes with the application's title, icon, buttons and a help button.
namespace MessageBoxes {

// Makes the message boxes the service's default; done by TambrelApplication.
void install();

} // namespace MessageBoxes
