// The page's side of Form1: elements made, placed, measured and written to as Form1.cpp asks.
// Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
    startForm: function (name, caption) {
        document.title = UTF8ToString(caption);
        const form = document.createElement("div");
        form.id = UTF8ToString(name);
        form.setAttribute("role", "dialog");
        form.setAttribute("aria-label", UTF8ToString(caption));
        document.body.appendChild(form);
    },

    // kind is a ControlKind: group box, push button, shape, label, text box.
    addControl: function (name, kind, container, tabIndex, caption, accessibleName, labelFor) {
        const control = document.createElement(["div", "button", "div", "label", "input"][kind]);
        control.id = UTF8ToString(name);
        control.className = ["frame", "button", "shape", "label", "box"][kind];
        control.textContent = UTF8ToString(caption);
        if (kind === 0 || kind === 2) {
            control.setAttribute("role", kind === 0 ? "group" : "img");
        }
        if (kind === 4) {
            control.type = "text";
            control.spellcheck = false;
            control.autocomplete = "off";
        }
        if (kind === 1 || kind === 4) {
            control.tabIndex = tabIndex;
        }
        if (UTF8ToString(labelFor) !== "") {
            control.htmlFor = UTF8ToString(labelFor);
        }
        if (kind !== 1 && kind !== 3) {
            control.setAttribute("aria-label", UTF8ToString(accessibleName));
        }
        document.getElementById(UTF8ToString(container)).appendChild(control);
    },

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

    // Tab and Shift+Tab go round the controls in this order, or the open chooser's, instead of
    // out of the page, and select the whole text of a field they land in, as the browser's own
    // Tab does: what is typed next replaces it. WebKit on GTK names Shift+Tab "Unidentified": its
    // code still says Tab.
    cycleFocus: function (names) {
        const order = UTF8ToString(names).split(" ").map((name) => document.getElementById(name));
        document.addEventListener("keydown", (event) => {
            if (event.key !== "Tab" && event.code !== "Tab") {
                return;
            }
            const chooser = document.querySelector("dialog[open]");
            const cycle = chooser ? [...chooser.querySelectorAll("input, button")] : order;
            const at = cycle.indexOf(document.activeElement);
            const step = event.shiftKey ? cycle.length - 1 : 1;
            event.preventDefault();
            const next = cycle[at < 0 ? 0 : (at + step) % cycle.length];
            next.focus();
            if (next.matches("[type=text], [type=number]")) {
                next.select();
            }
        });
        order[0].focus();
    },

    // A click of Command1 resumes the waiting program. A click while nothing waits is one made
    // while the command runs, and starts nothing.
    listenToCommand1: function () {
        document.getElementById("Command1").addEventListener("click", () => {
            if (Module.clicked) {
                Module.clicked();
            }
        });
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

    awaitCommand1Click: function () {
        return Asyncify.handleAsync(async () => {
            await new Promise((resolve) => { Module.clicked = resolve; });
            Module.clicked = null;
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
