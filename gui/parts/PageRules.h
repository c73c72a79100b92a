#pragma once

// Switching a tool page on or off, and the rules that keep each page consistent with its master and
// its value options. The main window's click handlers call the rules.

#include "core/options/OptionCatalogue.h"

namespace Module1 {

void SetBspOptionsEnabled(bool on);
void SetVisOptionsEnabled(bool on);
void SetRadOptionsEnabled(bool on);
// The page's routine of the three above.
void SetOptionsEnabled(qmx::Page page, bool on);

// A master's page follows its Value.
void MasterRule(qmx::Page page);
// Unticking a value option empties its text box; ticking it changes nothing else.
void ValueOptionRule(const char* checkBoxName);
// Clicking into a value text box ticks its option.
void ValueTextRule(const char* textBoxName);

} // namespace Module1
