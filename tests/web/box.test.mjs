// What a full box keeps of a change, in Node on the page's own core: what was typed, pasted or
// dropped goes where the caret was, as much of it as fits, and the rest of the text stays.
import { test } from "node:test";
import assert from "node:assert/strict";

import { keepWithin } from "../../web/site/serial_entry.js";
import { loadNodeCore } from "./scenario.mjs";

test("a change over the limit keeps what fits where it went, whole characters only", async () => {
    const core = await loadNodeCore();
    const at = (value, start, end = start) => ({ value, start, end });
    for (const [before, value, max, kept] of [
        [at("ABCDEFGHIJKL", 12), "ABCDEFGHIJKLX", 12, "ABCDEFGHIJKL"], // a 13th key at the end
        [at("ABCDEFGHIJKL", 4), "ABCDXYEFGHIJKL", 12, "ABCDEFGHIJKL"], // into the middle of a full box
        [at("ABCDEFGHIJK", 4), "ABCDXYEFGHIJK", 12, "ABCDXEFGHIJK"], // room for one
        [at("ABCDEFGHIJKL", 2, 4), "AB123EFGHIJKL", 12, "AB12EFGHIJKL"], // over a selection
        [at("MD128J", 6), "MD128J😀😀", 7, "MD128J😀"], // an emoji is one character, never half
        [at("", 0), "x".repeat(10000), 7, "xxxxxxx"], // a long paste into an empty box
        [at("MD12", 4), "MD1234567", 7, "MD12345"],
        [at("SHORT", 5), "SHORTER", 7, "SHORTER"], // within the limit, as it is
        [at("ABCDEFGH", 8), "ZZZZZZZZZZ", 7, "ZZZZZZZ"], // not an insertion at all: the first characters
    ])
        assert.equal(keepWithin(value, before, max, core), kept, `${JSON.stringify(before)} → ${value}`);
});
