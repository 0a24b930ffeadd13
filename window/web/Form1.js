// The page's side of Form1: the elements Form1Markup wrote into the page placed, measured and
// written to as Form1.cpp asks.
// Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
    placeControl: function (name, left, top, width, height) {
        const style = document.getElementById(UTF8ToString(name)).style;
        style.left = left + "px";
        style.top = top + "px";
        style.width = width + "px";
        style.height = height + "px";
    },

    // The text's width and height as the page draws it in the form's font, a minimum font size
    // the user set included: a probe of the page's own text, not a canvas given the font.
    measureText: function (text, extent) {
        let probe = document.getElementById("TextProbe");
        if (!probe) {
            probe = document.createElement("span");
            probe.id = "TextProbe";
            probe.className = "probe";
            probe.setAttribute("aria-hidden", "true");
            document.getElementById("Form1").appendChild(probe);
        }
        probe.textContent = UTF8ToString(text);
        const drawn = probe.getBoundingClientRect();
        HEAPF64.set([drawn.width, drawn.height], extent >> 3);
    },

    // What the control keeps around its text: its padding and border, across and down.
    measureChrome: function (name, extent) {
        const style = getComputedStyle(document.getElementById(UTF8ToString(name)));
        const sum = (sides) => sides.reduce((total, side) => total + parseFloat(style[side]), 0);
        HEAPF64.set([
            sum(["paddingLeft", "paddingRight", "borderLeftWidth", "borderRightWidth"]),
            sum(["paddingTop", "paddingBottom", "borderTopWidth", "borderBottomWidth"]),
        ], extent >> 3);
    },

    // When the font the page draws in changes after the start (zoom, a minimum font size, the
    // user's fonts), the probe's last text changes size, and layOut runs again.
    watchFont__deps: ["$getWasmTableEntry"],
    watchFont: function (layOut) {
        const probe = document.getElementById("TextProbe");
        let drawn = probe.getBoundingClientRect();
        new ResizeObserver(() => {
            const now = probe.getBoundingClientRect();
            if (now.width !== drawn.width || now.height !== drawn.height) {
                getWasmTableEntry(layOut)();
                drawn = probe.getBoundingClientRect();
            }
        }).observe(probe);
    },

    // The click Form1Start.js kept before the program ran, else the next one.
    awaitCommand1Click: function () {
        return Asyncify.handleAsync(async () => {
            const clicks = Command1Clicks;
            clicks.started = true;
            if (!clicks.kept) {
                await new Promise((resolve) => { clicks.waiting = resolve; });
                clicks.waiting = null;
            }
            clicks.kept = false;
        });
    },

    setBoxText: function (name, text) {
        document.getElementById(UTF8ToString(name)).value = UTF8ToString(text);
    },

    setFill: function (name, red, green, blue) {
        document.getElementById(UTF8ToString(name)).style.backgroundColor =
            "rgb(" + red + "," + green + "," + blue + ")";
    },
});
