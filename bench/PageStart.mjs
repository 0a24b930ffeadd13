// The page's time to usable in each browser engine, from file://, against an empty page in the
// same engine: from the start of navigation to the first paint with Command1 focused, which Form1
// does last, once the command waits for a click; the empty page is ready at its first paint after
// load. Both pages carry the same small timing script. Rounds alternate the two.
// Run by run.sh, on its X display (WebKit draws there): node bench/PageStart.mjs PAGE ROUNDS
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { openBrowser } from "../tests/support/PageDriver.mjs";

const [page, rounds = "15"] = process.argv.slice(2);
const scratch = mkdtempSync(join(tmpdir(), "page-start-"));
const timing = `<script>
    window.readyAt = new Promise((ready) => {
        const painted = () => requestAnimationFrame(() => setTimeout(() => ready(performance.now())));
        document.addEventListener("focusin", (event) => {
            if (event.target.id === "Command1") painted();
        });
        addEventListener("load", () => { if (!document.getElementById("Form1")) painted(); });
    });</script>`;
const ours = join(scratch, "ours.html");
const empty = join(scratch, "empty.html");
writeFileSync(ours, readFileSync(page, "utf8").replace("<head>", "<head>" + timing));
writeFileSync(empty, `<!doctype html><html><head>${timing}<meta charset=utf-8><title>empty</title>`
    + "</head><body><p>.</p></body></html>");

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
console.log(`Page time to usable from file://, medians of ${rounds} rounds (ms):`);
for (const engine of ["chromium", "firefox", "webkit"]) {
    const browser = await openBrowser({ engine });
    const timeToReady = async (file) => {
        await browser.goto("file://" + file);
        return browser.evaluate("window.readyAt");
    };
    const times = { ours: [], empty: [] };
    await timeToReady(ours); // warm-up
    for (let round = 0; round < Number(rounds); ++round) {
        times.ours.push(await timeToReady(ours));
        times.empty.push(await timeToReady(empty));
    }
    await browser.close();
    const [mine, floor] = [median(times.ours), median(times.empty)];
    console.log(`  ${engine.padEnd(8)} ours ${mine.toFixed(1)} [${Math.min(...times.ours).toFixed(1)}-`
        + `${Math.max(...times.ours).toFixed(1)}], empty page ${floor.toFixed(1)},`
        + ` ratio ${(mine / floor).toFixed(2)}`);
}
process.exit(0);
