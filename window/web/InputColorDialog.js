// The page's side of InputColorDialog: the hidden <input type="color"> and its picker.
// Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
    // The picker fires no event when it closes without a colour, nor when the colour it opened
    // on is confirmed unchanged. Its :open state shows when it closes; a close without a change
    // event before it is a cancel. A browser without :open leaves the pick waiting until Command1
    // is clicked again, which then counts as a cancel (see Form1.js). channels points at red,
    // green and blue, the opening colour, and gets the picked one. Returns 0 for a pick, -1 for a
    // cancel, -2 when no picker can open.
    pickWithInput: function (anchorId, channels) {
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
            const at = channels >> 2;
            input.value = "#" + Array.from(HEAP32.subarray(at, at + 3),
                (channel) => channel.toString(16).padStart(2, "0")).join("");
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
            // HEAP32 afresh: memory may have grown, and its old view gone, while the pick waited.
            for (let channel = 0; channel < 3; ++channel) {
                HEAP32[at + channel] = parseInt(input.value.substr(1 + 2 * channel, 2), 16);
            }
            return 0;
        });
    },
});
