#pragma once

// The dynamic property of a readout that holds the number it was last given:
// what assistive technology reads as its value, also while the readout shows
// dashes because the number does not fit.
inline constexpr char readoutValueProperty[] = "readoutValue";

// Lets assistive technology read a readout by its caption and its number
// ("pos X", then -12): Qt's own makes the number a readout's name, and a
// readout that is given a name has no number left to read. Idempotent; must
// run before assistive technology first asks about a readout.
void installReadoutAccessibility();
