// Where the serial and the part number are found on the handset; nothing on it reacts.

/** Nothing of a fresh Form4 needs wiring. */
export function Form4() {
    return {};
}
