// The scan box's worker: loads the bar-code reader (quenlio_reader.wasm, the reader and core's
// label rule) once, says so with the reader's constants, then reads each picture the page sends
// off the page's thread and answers what the label gives the screen.
import QuenlioReader from "./quenlio_reader.js";

const loading = QuenlioReader();
loading.then(
    (reader) => postMessage({ ready: { LongestSide: reader.LongestSide, UnreadablePicture: reader.UnreadablePicture } }),
    () => postMessage({ ready: null }),
);

// { id, pixels (RGBA bytes), width, height, serialLength } in; { id, reading } out.
addEventListener("message", async ({ data: { id, pixels, width, height, serialLength } }) => {
    let reading = null; // for a reader that failed
    try {
        reading = (await loading).readLabel(pixels, width, height, serialLength);
    } catch {}
    postMessage({ id, reading });
});
