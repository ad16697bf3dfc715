// Where the serial and the part number are found on the handset; nothing on it reacts.

/** Wires a fresh Form4 (`view`). */
export function Form4(view) {
    return { first: view.querySelector("[data-control=Label1]") };
}
