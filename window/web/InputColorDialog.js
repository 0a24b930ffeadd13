// The page's side of InputColorDialog: a modal <dialog> holding the browser's own colour input,
// red, green and blue fields that follow it both ways, and OK and Cancel. Linked into the page
// with --js-library.
//
// No browser says when its colour picker is cancelled, nor when its opening colour is confirmed
// unchanged, and only some tell when it closes; so the picker alone cannot tell a pick from a
// cancel. Here only OK confirms, with or without a change, and Esc, Cancel or closing the dialog
// is the cancel. Opened modal, the page behind it takes no click and no key until it closes.
mergeInto(LibraryManager.library, {
    $chooserOf: function () {
        let dialog = document.getElementById("CommonDialog1");
        if (dialog) {
            return dialog;
        }
        // Each field shares its cell with three hidden digits, which size it from the text as the
        // browser draws it: a minimum font size enlarges the text but not the em. The colour input
        // comes last, so that a picker the browser opens below it covers no field or button.
        dialog = document.createElement("dialog");
        dialog.id = "CommonDialog1";
        dialog.setAttribute("aria-labelledby", "ColorCaption");
        dialog.innerHTML = '<form method="dialog"><div id="ColorCaption">Color</div>'
            + ["Red", "Green", "Blue"].map((name) => '<label for="' + name + '">' + name
                + ':</label><span class="field"><input type="number" id="' + name
                + '" min="0" max="255" step="1" required><span aria-hidden="true">000</span></span>')
                .join("")
            + '<span class="buttons"><button value="ok">OK</button>'
            + '<button value="cancel" formnovalidate>Cancel</button></span>'
            + '<input type="color" id="ColorPicker" aria-label="Color"></form>';
        document.body.appendChild(dialog);
        const picker = dialog.querySelector("[type=color]");
        const fields = [...dialog.querySelectorAll("[type=number]")];
        picker.addEventListener("input", () => {
            fields.forEach((field, channel) => {
                field.value = parseInt(picker.value.substr(1 + 2 * channel, 2), 16);
            });
        });
        for (const field of fields) {
            field.addEventListener("input", () => {
                if (fields.every((each) => each.value !== "" && each.checkValidity())) {
                    picker.value = "#" + fields.map((each) =>
                        Number(each.value).toString(16).padStart(2, "0")).join("");
                }
            });
        }
        // A press on the chooser's caption or edges, or on the page behind it (the second click
        // of a double-click on Select Color), leaves the focus where it was.
        dialog.addEventListener("mousedown", (event) => {
            if (!event.target.closest("input, button, label")) {
                event.preventDefault();
            }
        });
        return dialog;
    },

    // In the window's font, whatever the page has made of it since the start. Beside the window
    // where the page has room for it, else below it, else below and scrolled to: clear of the
    // window by a margin, never over Select Color or the boxes, where a second click of a
    // double-click would land, and high enough that a picker opening below it fits.
    $placeChooser: function (dialog) {
        const font = getComputedStyle(document.getElementById("Form1"));
        for (const property of ["fontFamily", "fontSize", "fontStretch", "fontStyle", "fontWeight"]) {
            dialog.style[property] = font[property];
        }
        const form = document.getElementById("Form1").getBoundingClientRect();
        const gap = 8;
        const beside = form.right + 2 * gap + dialog.offsetWidth <= innerWidth;
        dialog.style.left = scrollX + (beside ? form.right : form.left) + gap + "px";
        dialog.style.top = scrollY + (beside ? form.top : form.bottom) + gap + "px";
        dialog.scrollIntoView({ block: "nearest", inline: "nearest" });
    },

    // channels points at red, green and blue: the opening colour, and then the picked one.
    // Returns 0 for a pick, -1 for a cancel, -2 when no chooser can open.
    pickWithInput__deps: ["$chooserOf", "$placeChooser"],
    pickWithInput: function (channels) {
        return Asyncify.handleAsync(async () => {
            const dialog = chooserOf();
            const fields = [...dialog.querySelectorAll("[type=number]")];
            const at = channels >> 2;
            // WebKit keeps letters typed into a number field as bad input after its value is set
            // again, and then refuses OK with nothing to say why: the form starts afresh.
            dialog.querySelector("form").reset();
            HEAP32.subarray(at, at + 3).forEach((channel, index) => {
                fields[index].value = channel;
            });
            fields[0].dispatchEvent(new Event("input"));
            dialog.returnValue = "";
            try {
                dialog.showModal();
            } catch (error) {
                return -2;
            }
            placeChooser(dialog);
            fields[0].focus();
            fields[0].select();
            await new Promise((closed) => dialog.addEventListener("close", closed, { once: true }));
            if (dialog.returnValue !== "ok") {
                return -1;
            }
            // HEAP32 afresh: memory may have grown, and its old view gone, while the pick waited.
            fields.forEach((field, channel) => { HEAP32[at + channel] = Number(field.value); });
            return 0;
        });
    },
});
