// The page's time to interactive in headless Chromium, from file://, against an empty page: from
// the start of navigation to the first paint with Command1 focused, which Form1 does last, once
// the command is ready; the empty page is ready at its first paint. Rounds alternate the two.
// Run by run.sh: node bench/PageStart.mjs PAGE ROUNDS
import { spawn } from "node:child_process";
import { mkdtempSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

const [page, rounds = "15"] = process.argv.slice(2);
const scratch = mkdtempSync(join(tmpdir(), "page-start-"));
const empty = join(scratch, "empty.html");
writeFileSync(empty, "<!doctype html><meta charset=utf-8><title>empty</title><p>.</p>");

// The DevTools protocol over a pipe: Debian 12's node has no WebSocket. Chromium reads
// NUL-ended messages on its fd 3 and answers on its fd 4.
const browser = spawn("chromium", ["--headless", "--no-sandbox", "--disable-gpu",
    "--remote-debugging-pipe", "--user-data-dir=" + join(scratch, "profile"), "about:blank"],
    { stdio: ["ignore", "ignore", "ignore", "pipe", "pipe"] });
process.on("exit", () => browser.kill()); // the browser this script started, and no other
let lastId = 0;
const waiting = new Map();
let unread = "";
browser.stdio[4].on("data", (data) => {
    unread += data;
    let end;
    while ((end = unread.indexOf("\0")) >= 0) {
        const answer = JSON.parse(unread.slice(0, end));
        unread = unread.slice(end + 1);
        waiting.get(answer.id)?.(answer.result);
        waiting.delete(answer.id);
    }
});
let sessionId;
const call = (method, params = {}) => new Promise((answered) => {
    waiting.set(++lastId, answered);
    browser.stdio[3].write(JSON.stringify({ id: lastId, method, params, sessionId }) + "\0");
});
const { targetInfos } = await call("Target.getTargets");
const target = targetInfos.find((info) => info.type === "page");
sessionId = (await call("Target.attachToTarget", { targetId: target.targetId, flatten: true })).sessionId;
await call("Page.enable");
// Ready: the first paint after Command1 took the focus, or after the load where nothing does.
await call("Page.addScriptToEvaluateOnNewDocument", { source: `
    window.readyAt = new Promise((ready) => {
        const painted = () => requestAnimationFrame(() => setTimeout(() => ready(performance.now())));
        document.addEventListener("focusin", (event) => {
            if (event.target.id === "Command1") painted();
        });
        addEventListener("load", () => { if (!document.getElementById("Form1")) painted(); });
    });` });
const timeToReady = async (file) => {
    await call("Page.navigate", { url: "file://" + file });
    const { result } = await call("Runtime.evaluate", {
        expression: "(async () => { while (!window.readyAt) await new Promise((r) => setTimeout(r, 1));"
            + " return await window.readyAt; })()",
        awaitPromise: true, returnByValue: true });
    return result.value;
};
const median = (values) => values.sort((a, b) => a - b)[values.length >> 1];
const ours = [];
const floor = [];
await timeToReady(page); // warm-up
for (let round = 0; round < Number(rounds); ++round) {
    ours.push(await timeToReady(page));
    floor.push(await timeToReady(empty));
}
console.log(`Page time to interactive from file://, medians of ${rounds} rounds (ms):`);
console.log(`  ours ${median(ours).toFixed(1)} [${Math.min(...ours).toFixed(1)}-${Math.max(...ours).toFixed(1)}],`
    + ` empty page ${median(floor).toFixed(1)}, ratio ${(median(ours) / median(floor)).toFixed(2)}`);
browser.kill();
process.exit(0);
