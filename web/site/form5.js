// The 12-character serial screen: serial and part number in, the decoded fields out, and
// the warranty, activation and refurbishment checks below them.
import * as dialogs from "./dialogs.js";
import { pressOnEnter } from "./presses.js";
import { showResult } from "./results.js";
import { Box, KeyBursts, SerialCheck, endScan, scanInto, takeScanned } from "./serial_entry.js";
import { Texts } from "./texts.js";

/** Wires a fresh Form5 (`view`); `page` holds core, links, openScreen and openWebPage. */
export function Form5(view, page) {
    const { core } = page;
    const control = (name) => view.querySelector(`[data-control=${name}]`);
    const [Text3, Text4, Text5, Text6, Text7, Text9, Text11] = ["Text3", "Text4", "Text5", "Text6", "Text7", "Text9", "Text11"].map(control);
    const [Command1, Command2, Command3, Command6, Command7] = ["Command1", "Command2", "Command3", "Command6", "Command7"].map(control);
    const photos = [...view.querySelectorAll("[data-photo]")];

    // The serial is kept upper-case with the digit 0 for the letter O, the part number
    // upper-case; Text2 gaining the focus checks the serial's half-year code.
    const Text1 = new Box(control("Text1"), core, { normalise: core.normalizeSerial, max: core.Serial12Length, onChange: Text1_Change });
    const Text2 = new Box(control("Text2"), core, { normalise: core.upperAscii, max: core.PartNumberLength, onChange: Text2_Change });
    const Text8 = new Box(control("Text8"), core, { onChange: Text8_Change });
    const halfYearCheck = new SerialCheck(Text1, core.checkHalfYearCode, Texts.HalfYearMessage, Texts.HalfYearTitle);
    halfYearCheck.runOn(Text2.input, "focus");

    async function Text1_Change(serial) {
        if (core.charCount(serial) !== core.Serial12Length) {
            Text2.set("");
            Text2.input.disabled = true;
            return;
        }
        Text2.input.disabled = false;
        await halfYearCheck.moveFocusTo(Text2.input);
        // A rejected serial has been emptied meanwhile, and that change has set the boxes.
        if (Text1.text !== serial) return;
        const partNumber = core.autofillPartNumber(serial);
        if (partNumber) Text2.set(partNumber);
    }

    function Text2_Change(part) {
        Command1.disabled = core.charCount(part) < core.ShortestPartNumber;
        // Only a query enables the warranty look-up; losing the query button loses it too.
        if (Command1.disabled) Command3.disabled = true;
    }

    function Command1_Click() {
        for (const box of [Text3, Text4, Text5, Text6, Text7, Text8.input, Command3]) box.disabled = false;
        for (const box of [Text3, Text4, Text5, Text6, Text7, Text9, Text11]) box.value = "";
        Text8.set("");

        const { Result: result, FlagRed, Photo } = core.displayQuery12(Text1.text, Text2.text);
        showResult(Text4, result.ProductionDate);
        showResult(Text3, result.DeviceModel);
        showResult(Text5, result.SalesRegion);
        showResult(Text6, result.Carrier);
        showResult(Text7, result.Factory);
        Text9.value = result.AfterSalesReplacement;
        // Set on every query, so a red flag never outlives the unit it was for.
        Text9.classList.toggle("flag-red", FlagRed);
        for (const photo of photos) photo.hidden = core.ModelPhoto[photo.dataset.photo] !== Photo;
    }

    function Command2_Click() {
        page.openScreen("Form4");
    }

    function Scan_Click() {
        scanInto(core, core.Serial12Length, Text1, Text2);
    }

    async function Command3_Click() {
        const answer = await dialogs.showMessage(Texts.WarrantyQuestion, Texts.WarrantyTitle, "okcancel");
        if (answer === "ok") page.openWebPage(page.links.WarrantyLookupPage);
        // Whether or not the site was opened, the user may already know the date.
        await dialogs.showMessage(Texts.WarrantyPasteHint, Texts.WarrantyPasteTitle);
        Text8.input.focus();
    }

    // The length of "yyyy-mm-dd" opens the look-up; whether it is a date is told on the click.
    function Text8_Change(text) {
        Command6.disabled = core.charCount(text) < core.DateLength;
    }

    async function Command6_Click() {
        // The date is read before anything changes, so a wrong one leaves the screen as it was.
        const activation = core.estimateActivationDate(Text8.text);
        if (activation === null) {
            await dialogs.showMessage(Texts.DateMessage, Texts.DateTitle);
            return;
        }
        Text11.disabled = false;
        Text11.value = activation;
        Command7.disabled = false;
    }

    async function Command7_Click() {
        // A new query empties the activation date but leaves this button enabled.
        if (Text11.value === "") {
            await dialogs.showMessage(Texts.ActivationFirstMessage, Texts.ActivationFirstTitle);
            return;
        }
        const purchase = await dialogs.askText(Texts.PurchasePrompt, Texts.PurchaseTitle, Text11.value);
        if (purchase === null) return;
        const verdict = core.refurbishmentVerdict(Text11.value, purchase, Text1.text);
        if (verdict === null) {
            await dialogs.showMessage(Texts.DateMessage, Texts.DateTitle);
            return;
        }
        await dialogs.showMessage(verdict, Texts.VerdictTitle);
    }

    function Image2_Click() {
        page.openWebPage(page.links.ShopPage);
    }

    function Label9_Click() {
        halfYearCheck.closed = true;
        page.openScreen("Main");
    }

    // A hand scanner's codes fill the boxes as 扫描条码 does; its Enter presses nothing.
    new KeyBursts([Text1.input, Text2.input], takeScanned(core, core.Serial12Length, Text1, Text2));
    // The Enter key presses the button the box leads to, once it can be pressed.
    pressOnEnter(Text2.input, Command1);
    pressOnEnter(Text8.input, Command6);

    Command1.addEventListener("click", Command1_Click);
    Command2.addEventListener("click", Command2_Click);
    control("Scan").addEventListener("click", Scan_Click);
    Command3.addEventListener("click", Command3_Click);
    Command6.addEventListener("click", Command6_Click);
    Command7.addEventListener("click", Command7_Click);
    control("Image2").addEventListener("click", Image2_Click);
    control("Label9").addEventListener("click", Label9_Click);

    return {
        close() {
            halfYearCheck.closed = true;
            endScan();
        },
    };
}
