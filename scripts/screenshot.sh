#!/usr/bin/env bash
# Makes docs/window.png: the program under Xvfb and openbox right after picking red 128,
# green 64, blue 192 in the chooser. Needs a build (scripts/run.sh or a preset) and the test
# packages (scripts/setup-debian.sh --tests). With --web, makes docs/web.png and docs/web-chooser.png
# instead: the page, as `cmake --workflow --preset web` builds it, in headless Chromium as it
# opens, and with its chooser open on red 128, green 64, blue 192.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${1:-} == --web ]]; then
    page=${PAGE:-$PWD/build/web/quillmarch-color-converter.html}
    [[ -f $page ]] || { echo "screenshot: build the page first ($page)" >&2; exit 1; }
    node --input-type=module - "$page" <<'SCRIPT'
import { writeFileSync } from "node:fs";
import { execFileSync } from "node:child_process";
import { openBrowser } from "./tests/support/PageDriver.mjs";
const browser = await openBrowser({ engine: "chromium" });
await browser.goto("file://" + process.argv[2]);
// The part of the page the form and, once open, the chooser cover.
const shoot = async (file) => {
    const [width, height] = await browser.evaluate(`(() => {
        const parts = [...document.querySelectorAll("#Form1, dialog[open]")];
        return [Math.max(...parts.map((p) => p.getBoundingClientRect().right)) + 8,
                Math.max(...parts.map((p) => p.getBoundingClientRect().bottom)) + 8];
    })()`);
    writeFileSync(file, Buffer.from(await browser.screenshot(), "base64"));
    execFileSync("convert", [file, "-crop", `${width}x${height}+0+0`, "+repage", file]);
    console.log("screenshot: wrote " + file);
};
await browser.evaluate("new Promise((built) => { const check = () => document.activeElement.id"
    + " === 'Command1' ? built() : setTimeout(check, 10); check(); })");
await shoot("docs/web.png");
await browser.key("space");
for (const channel of ["128", "64", "192"]) {
    await browser.key("ctrl+a");
    await browser.type(channel);
    await browser.key("Tab");
}
await shoot("docs/web-chooser.png");
await browser.close();
SCRIPT
    exit 0
fi
program=${1:-build/release/app/quillmarch-color-converter}
[[ -x $program ]] || { echo "screenshot: build the program first ($program)" >&2; exit 1; }

# The server's own id, from the process substitution it replaces: only what this script started
# is ended, never another Xvfb that happens to match a name.
exec 3< <(exec Xvfb -displayfd 1 -screen 0 800x600x24 -nolisten tcp 2>/dev/null)
server_pid=$!
read -r number <&3
export DISPLAY=:$number
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
cleanup() { kill "${app_pid:-}" "${wm_pid:-}" "$server_pid" 2>/dev/null || true; }
trap cleanup EXIT

openbox --sm-disable & wm_pid=$!
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.1; done
"$program" & app_pid=$!
window=$(xdotool search --sync --onlyvisible --name '^Quillmarch Color Converter$' | head -n 1)
sleep 0.5
# Select Color has the focus when the window opens.
xdotool windowactivate --sync "$window" key space
chooser=$(xdotool search --sync --onlyvisible --name '^Select Color$' | head -n 1)
xdotool windowactivate --sync "$chooser"
xdotool key alt+r ctrl+a type 128
xdotool key alt+g ctrl+a type 64
xdotool key alt+u ctrl+a type 192
xdotool key Return
sleep 0.5
xdotool mousemove 0 0
import -window "$window" -frame docs/window.png
echo "screenshot: wrote docs/window.png"
