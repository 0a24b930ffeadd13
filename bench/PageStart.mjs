// The page's time to usable in each browser engine, from file://, against an empty page in the
// same engine: from the start of navigation to the paint of the first frame at which Command1 has
// the focus and the program waits for its click; the empty page's, to the paint of the first frame
// after load. Both pages carry the same small timing script; it looks at every frame, since a
// page that does not have the browser's focus gets no focus event. Rounds alternate the pages.
// A second page (an older build, say) is measured in the same rounds.
// Run by run.sh, on its X display (WebKit draws there): node bench/PageStart.mjs PAGE ROUNDS [OTHER]
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { openBrowser } from "../tests/support/PageDriver.mjs";

const [page, rounds = "15", other] = process.argv.slice(2);
const scratch = mkdtempSync(join(tmpdir(), "page-start-"));
const timing = `<script>
    window.readyAt = new Promise((ready) => {
        const usable = () => (document.title === "empty" ? document.readyState === "complete"
            : document.activeElement?.id === "Command1" && !!window.Module?.clicked);
        const check = () => (usable() ? setTimeout(() => ready(performance.now()))
            : requestAnimationFrame(check));
        requestAnimationFrame(check);
    });</script>`;
const withTiming = (file, name) => {
    const timed = join(scratch, name);
    writeFileSync(timed, readFileSync(file, "utf8").replace("<head>", "<head>" + timing));
    return timed;
};
const pages = { ours: withTiming(page, "ours.html") };
if (other) {
    pages.other = withTiming(other, "other.html");
}
pages.empty = join(scratch, "empty.html");
writeFileSync(pages.empty, `<!doctype html><html><head><title>empty</title>${timing}`
    + "<meta charset=utf-8></head><body><p>.</p></body></html>");

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
console.log(`Page time to usable from file://, medians of ${rounds} rounds (ms):`);
for (const engine of ["chromium", "firefox", "webkit"]) {
    const browser = await openBrowser({ engine });
    const timeToReady = async (file) => {
        await browser.goto("file://" + file);
        return browser.evaluate("window.readyAt");
    };
    const times = Object.fromEntries(Object.keys(pages).map((name) => [name, []]));
    await timeToReady(pages.ours); // warm-up
    for (let round = 0; round < Number(rounds); ++round) {
        for (const [name, file] of Object.entries(pages)) {
            times[name].push(await timeToReady(file));
        }
    }
    await browser.close();
    const floor = median(times.empty);
    const line = (name) => `${name} ${median(times[name]).toFixed(1)} [`
        + `${Math.min(...times[name]).toFixed(1)}-${Math.max(...times[name]).toFixed(1)}]`
        + ` ratio ${(median(times[name]) / floor).toFixed(2)}`;
    console.log(`  ${engine.padEnd(8)} ${line("ours")}, ${other ? line("other") + ", " : ""}`
        + `empty page ${floor.toFixed(1)}`);
}
process.exit(0);
