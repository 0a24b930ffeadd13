// What the page does before the program runs, inlined after Form1's markup: Command1 takes the
// focus, Tab goes round the controls, and a click of Command1 is kept for the program, so the
// window answers from its first paint. The program is started once that paint is on screen.
"use strict";
// Tab and Shift+Tab go round the controls in their tab order, or the open chooser's, instead of
// out of the page, and select the whole text of a field they land in, as the browser's own Tab
// does: what is typed next replaces it. WebKit on GTK names Shift+Tab "Unidentified": its code
// still says Tab.
const form1Order = [...document.querySelectorAll("#Form1 [tabindex]")]
    .sort((a, b) => a.tabIndex - b.tabIndex);
document.addEventListener("keydown", (event) => {
    if (event.key !== "Tab" && event.code !== "Tab") {
        return;
    }
    const chooser = document.querySelector("dialog[open]");
    const cycle = chooser ? [...chooser.querySelectorAll("input, button")] : form1Order;
    const at = cycle.indexOf(document.activeElement);
    const step = event.shiftKey ? cycle.length - 1 : 1;
    event.preventDefault();
    const next = cycle[at < 0 ? 0 : (at + step) % cycle.length];
    next.focus();
    if (next.matches("[type=text], [type=number]")) {
        next.select();
    }
});
// A click resumes the program where it waits for one. One made before the program first waits
// is kept, once however many came (a double-click opens one chooser), and taken at that wait; one
// made while the command runs starts nothing.
var Command1Clicks = { waiting: null, kept: false, started: false };
document.getElementById("Command1").addEventListener("click", () => {
    if (Command1Clicks.waiting) {
        Command1Clicks.waiting();
    } else if (!Command1Clicks.started) {
        Command1Clicks.kept = true;
    }
});
form1Order[0].focus();
