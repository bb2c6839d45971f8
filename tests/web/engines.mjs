// The three browser engines behind one small interface, for the page's tests, its benchmark and
// its screenshots: Debian's Chromium and Firefox ESR driven by puppeteer-core (CDP and WebDriver
// BiDi), and WebKitGTK's MiniBrowser driven through WebKitWebDriver by selenium-webdriver. The
// flows are written once against a tab:
//   tab.evaluate(fn, ...args)   fn runs in the page; the page's CSP allows no eval, so waits
//                               poll with evaluate instead of a driver's wait-for-function
//   tab.type(text), tab.press(key), tab.click(x, y); keys: Enter, Escape, Tab, Shift+Tab,
//                               PageDown
//   tab.screenshot(path, finder, ...args)  the element `finder(...args)` returns in the page,
//                               as a PNG
//   tab.errors, tab.requests    console errors and page errors, and every URL the page asked
//                               for; absent where Cannot says the driver cannot observe them
//   tab.close()
import { execFileSync, spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

// The npm packages npm ci installed beside this file, wherever the importer lives.
const require = createRequire(import.meta.url);

// The engines engines.txt lists, by name.
export const EngineNames = readFileSync(new URL('engines.txt', import.meta.url), 'utf8')
    .split('\n').filter((line) => /^[a-z]/.test(line)).map((line) => line.split(' ')[0]);

// What an engine's driver cannot do, with the reason: each is a visible skip there (node:test's
// skip), checked in the other engines; open() and launch() refuse it with the same reason.
export const Cannot = {
    webkit: {
        narrowViewport: "MiniBrowser's window keeps a viewport of at least 447 CSS pixels",
        forcedColors: 'WebKitGTK has no forced-colours mode',
        scale: 'WebKitWebDriver cannot scale the viewport',
        errors: 'WebKitWebDriver reports no console messages and no page errors',
        requests: 'WebKitWebDriver reports no network events',
    },
};

// How long a step may take, in ms, that it hold no suite until CTest's timeout: starting a
// browser, its session or Xvfb; loading a page or running a script in it; a window or a line
// appearing (a healthy page takes a quarter second at most, idle; the rest is margin for a busy
// 2-core machine); any wait once one has run out (the page is broken: the suite is to say so
// in seconds, not wait out each test's bound); a browser ending; any one command to Chromium
// or Firefox.
export const Timeouts = { start: 30_000, load: 15_000, appear: 3_000, afterMiss: 500,
                          end: 10_000, command: 20_000 };

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Fails with `what` unless `promise` settles within `ms`: a browser that never starts must not
// hold a suite until CTest's timeout.
function within(ms, what, promise) {
    let timer;
    const late = new Promise((_, reject) => {
        timer = setTimeout(() => reject(new Error(`${what}: nothing within ${ms / 1000} s`)), ms);
    });
    return Promise.race([promise, late]).finally(() => clearTimeout(timer));
}

// launch(name, { forcedColors }): the engine `name`, started headless (WebKit in an Xvfb of its
// own); forcedColors: the page in forced-colours mode.
export async function launch(name, options = {}) {
    if (name === 'chromium' || name === 'firefox') return launchPuppeteer(name, options);
    if (name === 'webkit') return launchWebKit(options);
    throw new Error(`unknown engine "${name}": one of ${EngineNames.join(', ')}`);
}

// --- Chromium and Firefox, through puppeteer-core ----------------------------------------------

// Firefox ESR 153.5 at times stops answering for good at the first file:// page a new browser
// loads, a few starts in twenty (its remote agent waits on the window it left for another
// process; 153.8 has not been seen to): a browser that leaves a navigation, or the first
// question to the page after it, unanswered is replaced by a new one, and open() tries again.
const BrowsersPerOpen = 4; // the first one and up to three replacements

// `url` loaded in `page`, and the page answering.
async function loading(page, url) {
    await within(Timeouts.load, `loading ${url}`, page.goto(url, { timeout: Timeouts.load }));
    await within(Timeouts.load, `${url} answering`, page.evaluate(() => document.readyState));
}

async function launchPuppeteer(name, options) {
    let current = await startPuppeteer(name, options);
    const stop = async () => {
        const { browser } = current;
        await within(Timeouts.end, `ending ${name}`, browser.close()).catch(() => {
            browser.process()?.kill('SIGKILL');
        });
    };
    return {
        name,
        async open(url, { width = 800, height = 600, scale = 1 } = {}) {
            for (let started = 1; ; ++started) {
                const { page, sink } = current;
                sink.tab = null;
                try {
                    await loading(page, 'about:blank');
                    await page.setViewport({ width, height, deviceScaleFactor: scale });
                    const tab = puppeteerTab(page, sink);
                    await loading(page, url);
                    return tab;
                } catch (error) {
                    if (!/nothing within|timeout|timed out/i.test(error.message) ||
                        started >= BrowsersPerOpen)
                        throw error;
                    console.error(`# ${name} left a page unanswered (${error.message}), taken ` +
                                  "for the hang of a new Firefox ESR's first page: starting " +
                                  `browser ${started + 1} of ${BrowsersPerOpen}`);
                    await stop();
                    current = await startPuppeteer(name, options);
                }
            }
        },
        close: stop,
    };
}

async function startPuppeteer(name, { forcedColors = false }) {
    const puppeteer = require('puppeteer-core');
    const chromium = name === 'chromium';
    const browser = await within(Timeouts.start, `starting ${name}`, puppeteer.launch({
        browser: chromium ? 'chrome' : 'firefox',
        executablePath: chromium ? process.env.PRIMTEILER_CHROMIUM || '/usr/bin/chromium'
                                 : process.env.PRIMTEILER_FIREFOX || '/usr/bin/firefox-esr',
        headless: true,
        // No background connections (which a closed network refuses), no first-run work, and
        // no sandbox, which Chromium cannot set up when run as root.
        args: chromium ? ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                          '--disable-background-networking', '--disable-component-update',
                          '--disable-sync']
                       : [],
        // Firefox's forced colours: the page's colours replaced by the system's.
        extraPrefsFirefox: forcedColors ? { 'browser.display.document_color_use': 2 } : {},
        timeout: Timeouts.start,
        protocolTimeout: Timeouts.command,
    }));
    // One tab serves every open(), each a new document.
    const page = await browser.newPage();
    if (forcedColors && chromium) { // puppeteer's own call knows no forced-colors
        const session = await page.createCDPSession();
        await session.send('Emulation.setEmulatedMedia',
                           { features: [{ name: 'forced-colors', value: 'active' }] });
    }
    const sink = { tab: null }; // where the page's requests and errors go
    page.on('request', (request) => sink.tab?.requests.push(request.url()));
    page.on('pageerror', (error) => sink.tab?.errors.push(error.message));
    page.on('console', (message) => {
        if (message.type() === 'error') sink.tab?.errors.push(message.text());
    });
    return { browser, page, sink };
}

// A tab on `page` that collects what `sink` hands it until it closes; the next open() leaves
// the document it closed.
function puppeteerTab(page, sink) {
    const tab = {
        errors: [],
        requests: [],
        evaluate: (fn, ...args) => page.evaluate(fn, ...args),
        type: (text) => page.keyboard.type(text),
        async press(key) {
            const [modifier, name] = key.includes('+') ? key.split('+') : [null, key];
            if (modifier) await page.keyboard.down(modifier);
            await page.keyboard.press(name);
            if (modifier) await page.keyboard.up(modifier);
        },
        click: (x, y) => page.mouse.click(x, y),
        async screenshot(path, finder, ...args) {
            const element = await page.evaluateHandle(finder, ...args);
            await element.screenshot({ path });
            await element.dispose();
        },
        close: async () => {
            if (sink.tab === tab) sink.tab = null;
        },
    };
    sink.tab = tab;
    return tab;
}

// --- WebKitGTK, through WebKitWebDriver and selenium-webdriver ---------------------------------
// MiniBrowser has no headless mode: it runs in an Xvfb of its own, never on the user's display.
// One session serves every tab: each open() loads a new document.

const MiniBrowser = process.env.PRIMTEILER_MINIBROWSER ||
    '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// An Xvfb of scripts/xvfb's in a folder of its own, its screen larger than the script's default
// so that MiniBrowser's window fits with room for its own bars; resolves to { display, stop }.
function startXvfb() {
    const dir = mkdtempSync(join(tmpdir(), 'primteiler-xvfb-'));
    const xvfb = (command, ...rest) => execFileSync(fileURLToPath(new URL('../../scripts/xvfb',
        import.meta.url)), [command, dir, ...rest], { stdio: ['ignore', 'ignore', 'inherit'],
                                                      timeout: Timeouts.start });
    const stop = () => {
        xvfb('stop');
        rmSync(dir, { recursive: true, force: true });
    };
    try {
        xvfb('start', '1280x1024');
        return { display: readFileSync(join(dir, 'display'), 'utf8').trim(), stop };
    } catch (error) {
        stop();
        throw error;
    }
}

async function launchWebKit({ forcedColors = false }) {
    if (forcedColors) throw new Error(Cannot.webkit.forcedColors);
    const { Builder, Key, Origin } = require('selenium-webdriver');
    const xvfb = startXvfb();
    const port = await require('selenium-webdriver/net/portprober').findFreePort('127.0.0.1');
    const driverProcess = spawn(process.env.PRIMTEILER_WEBKITWEBDRIVER || '/usr/bin/WebKitWebDriver',
                                [`--port=${port}`, '--host=127.0.0.1'], {
        stdio: 'ignore',
        env: { ...process.env, DISPLAY: xvfb.display },
    });
    const stop = () => {
        driverProcess.kill();
        xvfb.stop();
    };
    let driver;
    try {
        driver = await within(Timeouts.start, 'starting a WebKitWebDriver session', (async () => {
            for (let tries = 0; ; ++tries) { // the driver listens a moment after it starts
                try {
                    return await new Builder().usingServer(`http://127.0.0.1:${port}`)
                        .withCapabilities({
                            browserName: 'MiniBrowser',
                            'webkitgtk:browserOptions': { binary: MiniBrowser,
                                                          args: ['--automation'] },
                        }).build();
                } catch (error) {
                    if (tries >= 20 || !/ECONNREFUSED/.test(String(error))) throw error;
                    await sleep(250);
                }
            }
        })());
    } catch (error) {
        stop();
        throw error;
    }
    const keys = { Enter: [Key.ENTER], Escape: [Key.ESCAPE], Tab: [Key.TAB], PageDown: [Key.PAGE_DOWN],
                   'Shift+Tab': [Key.SHIFT, Key.TAB] };
    await driver.manage().setTimeouts({ pageLoad: Timeouts.load, script: Timeouts.load });
    // The window's size that gives the wanted viewport: set, measured, set again.
    const resize = async (width, height) => {
        await driver.manage().window().setRect({ width, height });
        const [innerWidth, innerHeight] =
            await driver.executeScript(() => [window.innerWidth, window.innerHeight]);
        await driver.manage().window().setRect({ width: 2 * width - innerWidth,
                                                 height: 2 * height - innerHeight });
    };
    // WebKit paints late: a screenshot waits for two frames and a moment more.
    const painted = () => driver.executeScript(() => new Promise((resolve) =>
        requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(resolve, 200)))));
    return {
        name: 'webkit',
        async open(url, { width = 800, height = 600, scale = 1 } = {}) {
            if (scale !== 1) throw new Error(Cannot.webkit.scale);
            await within(Timeouts.load, 'loading about:blank', driver.get('about:blank'));
            await resize(width, height);
            await within(Timeouts.load, `loading ${url}`, driver.get(url));
            return { // no errors, no requests: see Cannot
                evaluate: (fn, ...args) => driver.executeScript(fn, ...args),
                type: (text) => driver.actions().sendKeys(text).perform(),
                async press(key) {
                    const [first, second] = keys[key];
                    if (!second) return driver.actions().sendKeys(first).perform();
                    return driver.actions().keyDown(first).sendKeys(second).keyUp(first).perform();
                },
                click: (x, y) => driver.actions()
                    .move({ x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT })
                    .click().perform(),
                async screenshot(path, finder, ...args) {
                    await painted();
                    const element = await driver.executeScript(finder, ...args);
                    writeFileSync(path, Buffer.from(await element.takeScreenshot(), 'base64'));
                },
                close: () => driver.get('about:blank'),
            };
        },
        async close() {
            try {
                await within(Timeouts.end, 'ending the WebKit session', driver.quit());
            } finally {
                stop();
            }
        },
    };
}
