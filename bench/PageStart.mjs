// The page's time to usable in each browser engine, from file://, against an empty page in the
// same engine: from the start of navigation to the paint of the first frame at which Command1 has
// the focus and the program waits for its click; the empty page's, to the paint of the first frame
// after load. Both pages carry the same small timing script; it looks at every frame, since a
// page that does not have the browser's focus gets no focus event. Rounds alternate the pages.
// A second page (an older build, say) is measured in the same rounds. Also printed: when the
// program itself first waits for a click.
// Run by run.sh, on its X display (WebKit draws there): node bench/PageStart.mjs PAGE ROUNDS [OTHER]
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { openBrowser } from "../tests/support/PageDriver.mjs";

const [page, rounds = "15", other] = process.argv.slice(2);
const scratch = mkdtempSync(join(tmpdir(), "page-start-"));
// A page is usable once Command1 has the focus and a click on it is taken: by the program waiting
// for it (Command1Clicks.waiting; Module.clicked in builds before 2026-12-10), or, in a page that
// writes Form1 into itself, by the page's own script, which keeps the click for the program
// (Command1Clicks). The second time is when the program itself waits.
const timing = `<script>
    const frameAfter = (check) => new Promise((ready) => {
        const poll = () => (check() ? setTimeout(() => ready(performance.now()))
            : requestAnimationFrame(poll));
        requestAnimationFrame(poll);
    });
    const waiting = () => !!(window.Command1Clicks?.waiting || window.Module?.clicked);
    window.readyAt = frameAfter(() => (document.title === "empty"
        ? document.readyState === "complete"
        : document.activeElement?.id === "Command1" && (!!window.Command1Clicks || waiting())));
    window.runningAt = frameAfter(() => document.title === "empty" || waiting());</script>`;
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
for (const engine of (process.env.ENGINES ?? "chromium firefox webkit").split(" ")) {
    const browser = await openBrowser({ engine });
    const timeToReady = async (file) => {
        await browser.goto("file://" + file);
        return browser.evaluate("Promise.all([window.readyAt, window.runningAt])");
    };
    const times = Object.fromEntries(Object.keys(pages).map((name) => [name, []]));
    const running = Object.fromEntries(Object.keys(pages).map((name) => [name, []]));
    await timeToReady(pages.ours); // warm-up
    for (let round = 0; round < Number(rounds); ++round) {
        for (const [name, file] of Object.entries(pages)) {
            const [ready, runs] = await timeToReady(file);
            times[name].push(ready);
            running[name].push(runs);
        }
    }
    await browser.close();
    const floor = median(times.empty);
    const line = (name) => `${name} ${median(times[name]).toFixed(1)} [`
        + `${Math.min(...times[name]).toFixed(1)}-${Math.max(...times[name]).toFixed(1)}]`
        + ` ratio ${(median(times[name]) / floor).toFixed(2)}`
        + ` (program waits at ${median(running[name]).toFixed(1)})`;
    console.log(`  ${engine.padEnd(8)} ${line("ours")}, ${other ? line("other") + ", " : ""}`
        + `empty page ${floor.toFixed(1)}`);
}
process.exit(0);
