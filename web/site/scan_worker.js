// The scan box's worker: loads the bar-code reader (quenlio_reader.wasm, the reader and core's
// label rule, and the preparing of a picture for text recognition) once, says so with the reader's constants, then reads each picture the page sends
// off the page's thread and answers what the label gives the screen.
import QuenlioReader from "./quenlio_reader.js";

const loading = QuenlioReader();
loading.then(
    (reader) => postMessage({ ready: { LongestSide: reader.LongestSide, MostPixels: reader.MostPixels } }),
    () => postMessage({ ready: null }),
);

// The photos being handed over, by id: the reader's grey copy of each, as its bands come.
const photos = new Map();
const drop = (id) => {
    photos.get(id)?.delete();
    photos.delete(id);
};

// In, by id: a camera frame { pixels (RGBA bytes), width, height, serialLength }; or a photo,
// { photo: { width, height } }, then { band: { pixels, top, rows } } for each band, then
// { serialLength }: its reading has `Kept` (its id) when it holds no serial's bar code, and then
// { prepare: kept } gives its pictures prepared for text recognition ({ width, height, pixels }),
// and { words: [each picture's words], of: kept, serialLength } what they give the screen.
// Out: { id, reading }, null for a reader that failed.
addEventListener("message", async ({ data: { id, pixels, width, height, serialLength, photo, band, prepare, words, of } }) => {
    let reading = null;
    try {
        const reader = await loading;
        if (photo) return photos.set(id, new reader.Photo(photo.width, photo.height));
        if (band) return photos.get(id)?.put(band.pixels, band.top, band.rows);
        if (prepare !== undefined) {
            const held = photos.get(prepare);
            reading = held ? Array.from({ length: held.prepare() }, (_, i) => held.prepared(i)) : null;
        } else if (words) {
            reading = photos.get(of)?.readText(words, serialLength) ?? null;
            drop(of);
        } else if (!photos.has(id)) reading = reader.readLabel(pixels, width, height, serialLength);
        else {
            reading = photos.get(id).read(serialLength);
            // A photo with no serial's bar code is kept for its text, until the page sends its words.
            if (reading.Outcome === "NoSerial") reading.Kept = id;
            else drop(id);
        }
    } catch {}
    postMessage({ id, reading });
});
