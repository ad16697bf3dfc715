// One seeded generator for the tests that draw their inputs: mulberry32, whose whole state is one
// 32-bit number, so a seed repeats a run exactly.
export function seeded(seed) {
    let a = seed >>> 0;
    const next = () => {
        a = (a + 0x6d2b79f5) >>> 0;
        let t = a;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 2 ** 32;
    };
    const int = (n) => Math.floor(next() * n);
    return { next, int, pick: (list) => list[int(list.length)], chance: (p) => next() < p };
}

/** The seed a run uses: QUENLIO_SEED (a number, or "random" for a fresh one), else `fallback`. */
export function seedFromEnvironment(fallback) {
    const setting = process.env.QUENLIO_SEED ?? String(fallback);
    return setting === "random" ? (Math.random() * 2 ** 32) >>> 0 : Number(setting) >>> 0;
}
