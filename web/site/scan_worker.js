// The scan box's worker: loads the bar-code reader (quenlio_reader.wasm, the reader and core's
// label rule) once, says so with the reader's constants, then reads each picture the page sends
// off the page's thread and answers what the label gives the screen.
import QuenlioReader from "./quenlio_reader.js";

const loading = QuenlioReader();
loading.then(
    (reader) => postMessage({ ready: { LongestSide: reader.LongestSide, MostPixels: reader.MostPixels } }),
    () => postMessage({ ready: null }),
);

// The photos being handed over, by id: the reader's grey copy of each, as its bands come.
const photos = new Map();

// In, by id: a camera frame { pixels (RGBA bytes), width, height, serialLength }; or a photo,
// { photo: { width, height } }, then { band: { pixels, top, rows } } for each band, then
// { serialLength }. Out: { id, reading }, null for a reader that failed.
addEventListener("message", async ({ data: { id, pixels, width, height, serialLength, photo, band } }) => {
    let reading = null;
    try {
        const reader = await loading;
        if (photo) return photos.set(id, new reader.Photo(photo.width, photo.height));
        if (band) return photos.get(id)?.put(band.pixels, band.top, band.rows);
        if (!photos.has(id)) reading = reader.readLabel(pixels, width, height, serialLength);
        else {
            reading = photos.get(id).read(serialLength);
            photos.get(id).delete();
            photos.delete(id);
        }
    } catch {}
    postMessage({ id, reading });
});
