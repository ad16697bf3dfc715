// The 11-character screen: the old serial numbers (first iPhone to iPhone 4) and the region
// suffix of the part number. Its query keeps what earlier queries showed.
import { pressOnEnter } from "./presses.js";
import { showResult } from "./results.js";
import { Box, KeyBursts, SerialCheck, endScan, scanInto, takeScanned } from "./serial_entry.js";
import { Texts } from "./texts.js";

// The result boxes, by the field each shows.
const Results = { Text3: "DeviceModel", Text4: "ProductionDate", Text5: "SalesRegion", Text6: "Carrier", Text7: "Factory", Text8: "AfterSalesReplacement" };

/** Wires a fresh Form3 (`view`); `page` holds core, openScreen and openWebPage. */
export function Form3(view, page) {
    const { core } = page;
    const control = (name) => view.querySelector(`[data-control=${name}]`);
    const results = Object.keys(Results).map(control);
    const Command1 = control("Command1");

    // Both boxes are kept upper-case; leaving the serial box checks the serial.
    const Text1 = new Box(control("Text1"), core, { normalise: core.upperAscii, max: core.Serial11Length, onChange: Text1_Change });
    const Text2 = new Box(control("Text2"), core, { normalise: core.upperAscii, max: core.PartNumberLength, onChange: Text2_Change });
    const serialCheck = new SerialCheck(Text1, core.checkOldSerial, Texts.OldSerialMessage, Texts.OldSerialTitle);
    serialCheck.runOn(Text1.input, "blur");

    const complete = () => core.charCount(Text1.text) === core.Serial11Length;

    // The gates follow from the two texts alone, so they can be applied again after anything
    // (the error message, a focus change) has run in between.
    function ApplyGates() {
        const serialComplete = complete();
        Text2.input.readOnly = !serialComplete;
        Text2.input.disabled = !serialComplete;
        for (const box of results) box.disabled = !serialComplete;
        Text2_Change();
    }

    async function Text1_Change() {
        if (complete()) {
            Text2.input.disabled = false;
            Text2.input.readOnly = false;
            await serialCheck.moveFocusTo(Text2.input);
        }
        ApplyGates();
    }

    function Text2_Change() {
        Command1.disabled = !(complete() && core.charCount(Text2.text) >= core.ShortestPartNumber);
    }

    function Command1_Click() {
        const shown = {};
        for (const box of results) shown[Results[box.dataset.control]] = box.value;
        const result = core.serialQuery11(Text1.text, Text2.text, shown);
        for (const box of results) showResult(box, result[Results[box.dataset.control]]);
    }

    function Scan_Click() {
        scanInto(core, core.Serial11Length, Text1, Text2);
    }

    function Label11_Click() {
        serialCheck.closed = true;
        page.openScreen("Main");
    }

    // A hand scanner's codes fill the boxes as 扫描条码 does; its Enter presses nothing.
    new KeyBursts([Text1.input, Text2.input], takeScanned(core, core.Serial11Length, Text1, Text2));
    pressOnEnter(Text2.input, Command1);
    Command1.addEventListener("click", Command1_Click);
    control("Scan").addEventListener("click", Scan_Click);
    control("Label11").addEventListener("click", Label11_Click);

    return {
        close() {
            serialCheck.closed = true;
            endScan();
        },
    };
}
