// The page in a real browser engine, driven through each one's standard automation: Chromium over
// DevTools and Firefox over WebDriver BiDi (puppeteer-core), WebKit through WebKitWebDriver
// (selenium-webdriver). One shape for all three: open, evaluate, click, keys, text, screenshot.
//
// Run as a program (node PageDriver.mjs '{"engine": "firefox", ...}'), it answers one JSON line
// on standard output for each JSON request line on standard input, and ends its browser when
// its input closes: the C++ tests drive the page this way.
import { mkdtempSync, mkdirSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { createInterface } from "node:readline";
import { pathToFileURL } from "node:url";
import puppeteer from "puppeteer-core";
import { Builder, Key, Origin } from "selenium-webdriver";
import { DriverService } from "selenium-webdriver/remote/index.js";

const kViewport = { width: 800, height: 600 };
const kWebKitBrowser = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";

// xdotool's names for the keys the tests press; anything else is one character.
const kKeyNames = { Return: "Enter", Escape: "Escape", Tab: "Tab", End: "End", Home: "Home",
    shift: "Shift", ctrl: "Control", alt: "Alt", space: " " };
const chordOf = (name) => name.split("+").map((part) => kKeyNames[part] ?? part);

async function openWithPuppeteer({ engine, language, scheme, minimumFontSize }) {
    const firefox = engine === "firefox";
    const profile = mkdtempSync(join(tmpdir(), "page-driver-"));
    if (!firefox && minimumFontSize) {
        mkdirSync(join(profile, "Default"));
        writeFileSync(join(profile, "Default", "Preferences"), JSON.stringify(
            { webkit: { webprefs: { minimum_font_size: minimumFontSize } } }));
    }
    const browser = await puppeteer.launch({
        browser: firefox ? "firefox" : "chrome",
        executablePath: firefox ? "/usr/bin/firefox-esr" : "/usr/bin/chromium",
        // Firefox takes keys as a user's only in a window that has the keyboard: where the caller
        // gives a display, it draws there, for the caller to activate.
        headless: !(firefox && process.env.DISPLAY),
        userDataDir: profile,
        defaultViewport: kViewport,
        args: firefox ? [] : ["--no-sandbox", "--disable-gpu", "--lang=" + language,
            "--accept-lang=" + language],
        extraPrefsFirefox: {
            "intl.accept_languages": language,
            "intl.locale.requested": language,
            // 0 dark, 1 light; 2 in the other pref forces the user's colours on every page.
            "layout.css.prefers-color-scheme.content-override": scheme === "dark" ? 0 : 1,
            "browser.display.document_color_use": scheme === "forced" ? 2 : 0,
            ...(minimumFontSize ? { "font.minimum-size.x-western": minimumFontSize } : {}),
        },
    });
    const page = (await browser.pages())[0] ?? await browser.newPage();
    if (!firefox) {
        // Headless Chromium keeps its number formats in English whatever its switches say.
        const devTools = await page.createCDPSession();
        await devTools.send("Emulation.setLocaleOverride", { locale: language });
        await devTools.send("Emulation.setEmulatedMedia", { features: [scheme === "forced"
            ? { name: "forced-colors", value: "active" }
            : { name: "prefers-color-scheme", value: scheme }] });
    }
    return {
        goto: (url) => page.goto(url),
        evaluate: (script) => page.evaluate(script),
        waitFor: (condition, timeout) => page.waitForFunction(condition, { timeout, polling: 50 })
            .then(() => true, () => false),
        insertText: (text) => page.evaluate((t) => document.execCommand("insertText", false, t), text),
        click: (x, y, count = 1) => page.mouse.click(x, y, { count, clickCount: count }),
        key: async (name) => {
            const chord = chordOf(name);
            for (const key of chord) await page.keyboard.down(key);
            for (const key of chord.reverse()) await page.keyboard.up(key);
        },
        type: (text) => page.keyboard.type(text),
        screenshot: () => page.screenshot({ encoding: "base64" }),
        close: async () => {
            await browser.close();
            rmSync(profile, { recursive: true, force: true });
        },
    };
}

// WebKitGTK draws on the X display the caller gives in DISPLAY. MiniBrowser takes no minimum font
// size; WebKitBrowser.py, the same browser in a few lines, does.
async function openWithWebDriver({ language, scheme, minimumFontSize }) {
    if (scheme === "forced") {
        throw new Error("WebKit has no forced colours");
    }
    const locale = language.replace("-", "_") + ".UTF-8";
    const service = new DriverService.Builder("WebKitWebDriver").setLoopback(true)
        .setEnvironment({ ...process.env, LANG: locale, LC_ALL: locale, LANGUAGE: language }).build();
    const driver = await new Builder().usingServer(await service.start()).withCapabilities({
        browserName: "MiniBrowser",
        "webkitgtk:browserOptions": {
            binary: minimumFontSize ? join(import.meta.dirname, "WebKitBrowser.py") : kWebKitBrowser,
            args: ["--automation", ...(scheme === "dark" ? ["--dark-mode"] : []),
                ...(minimumFontSize ? ["--minimum-font-size=" + minimumFontSize] : [])],
        },
    }).build().catch((error) => { service.kill(); throw error; });
    await driver.manage().window().setRect(kViewport);
    const actions = () => driver.actions({ async: true });
    return {
        goto: (url) => driver.get(url),
        evaluate: (script) => driver.executeScript(`return (${script});`),
        waitFor: (condition, timeout) => driver.wait(
            () => driver.executeScript(`return !!(${condition});`), timeout).then(() => true, () => false),
        insertText: (text) => driver.executeScript(
            "document.execCommand('insertText', false, arguments[0]);", text),
        click: (x, y, count = 1) => {
            const at = actions().move({ x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT });
            return (count === 2 ? at.doubleClick() : at.click()).perform();
        },
        key: (name) => {
            const chord = chordOf(name).map((key) => (key.length > 1 ? Key[key.toUpperCase()] : key));
            let steps = actions();
            chord.forEach((key) => { steps = steps.keyDown(key); });
            chord.reverse().forEach((key) => { steps = steps.keyUp(key); });
            return steps.perform();
        },
        type: (text) => actions().sendKeys(text).perform(),
        screenshot: () => driver.takeScreenshot(),
        close: async () => {
            await driver.quit().catch(() => {});
            service.kill();
        },
    };
}

// options: engine ("chromium", "firefox" or "webkit"), language ("de-DE"), scheme ("light",
// "dark" or "forced") and minimumFontSize in pixels.
export function openBrowser(options) {
    const settled = { language: "en-US", scheme: "light", ...options };
    return settled.engine === "webkit" ? openWithWebDriver(settled) : openWithPuppeteer(settled);
}

async function serve(options) {
    const browser = await openBrowser(options);
    const lines = createInterface({ input: process.stdin });
    for await (const line of lines) {
        const { op, args = [] } = JSON.parse(line);
        try {
            const value = await browser[op](...args);
            process.stdout.write(JSON.stringify({ value: value ?? null }) + "\n");
        } catch (error) {
            process.stdout.write(JSON.stringify({ error: String(error.message ?? error) }) + "\n");
        }
    }
    await browser.close();
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    serve(JSON.parse(process.argv[2])).catch((error) => {
        process.stdout.write(JSON.stringify({ error: String(error.message ?? error) }) + "\n");
        process.exit(1);
    });
}
