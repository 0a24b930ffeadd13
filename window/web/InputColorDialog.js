// The page's side of InputColorDialog: the hidden <input type="color"> and its picker.
// Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
    // The picker fires no event when it closes without a colour, nor when the colour it opened
    // on is confirmed unchanged. Its :open state shows when it closes; a close without a change
    // event before it is a cancel. A browser without :open leaves the pick waiting until Command1
    // is clicked again, which then counts as a cancel (see Form1.js). Returns the colour with red
    // in the lowest byte, -1 for a cancel, -2 when no picker can open.
    pickWithInput: function (anchorId, initial) {
        return Asyncify.handleAsync(async () => {
            let input = document.getElementById("CommonDialog1");
            if (!input) {
                input = document.createElement("input");
                input.type = "color";
                input.id = "CommonDialog1";
                input.tabIndex = -1;
                input.setAttribute("aria-hidden", "true");
                input.className = "picker";
                document.getElementById(UTF8ToString(anchorId)).appendChild(input);
            }
            const hex = (channel) => channel.toString(16).padStart(2, "0");
            input.value = "#" + hex(initial & 255) + hex((initial >> 8) & 255) +
                          hex((initial >> 16) & 255);
            let confirmed = false;
            const onChange = () => { confirmed = true; };
            input.addEventListener("change", onChange);
            try {
                input.showPicker();
            } catch (error) {
                input.removeEventListener("change", onChange);
                return -2;
            }
            await new Promise((resolve) => {
                Module.pickPending = resolve;
                const watch = () => {
                    if (Module.pickPending !== resolve) {
                        return;
                    }
                    if (input.matches(":open")) {
                        setTimeout(watch, 50);
                    } else {
                        setTimeout(resolve, 0); // a change event queued with the close comes first
                    }
                };
                if (CSS.supports("selector(:open)")) {
                    watch();
                }
            });
            Module.pickPending = null;
            input.removeEventListener("change", onChange);
            if (!confirmed) {
                return -1;
            }
            const value = parseInt(input.value.slice(1), 16);
            return ((value >> 16) & 255) | (value & 0xFF00) | ((value & 255) << 16);
        });
    },
});
