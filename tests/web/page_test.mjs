// The web edition end to end: the page as built, opened in Debian's Chromium and driven by
// Playwright from the keyboard and the mouse, read back from its dialogs. Every wait is bounded:
// a dialog that never comes fails its test within seconds.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { pathToFileURL } from 'node:url';
import { launchChromium } from './browser.mjs';

const page = process.env.PRIMTEILER_PAGE;
const smallMemoryPage = process.env.PRIMTEILER_SMALL_MEMORY_PAGE;
const facts = JSON.parse(readFileSync(process.env.PRIMTEILER_EXAMPLES, 'utf8'));
const Wait = 10_000; // ms for a dialog or a line to appear
const Ended = 'Das Programm ist beendet.';

let browser;
before(async () => {
    browser = await launchChromium();
});
after(() => browser?.close());

// A fresh page on `url`; every request it makes is recorded, and any that would leave the
// machine (anything but the file itself, the worker's blob: and the icon's data: URL) fails.
async function open(url = pathToFileURL(page).href) {
    const context = await browser.newContext();
    const tab = await context.newPage();
    tab.setDefaultTimeout(Wait);
    tab.requests = [];
    tab.errors = [];
    tab.on('request', (request) => tab.requests.push(request.url()));
    tab.on('pageerror', (error) => tab.errors.push(error.message));
    await context.route('**', (route) => {
        const request = new URL(route.request().url());
        const inline = ['file:', 'blob:', 'data:'].includes(request.protocol);
        return inline || request.href === url ? route.continue() : route.abort();
    });
    await tab.goto(url);
    return tab;
}

// Names are matched whole and with their case: "OK" is not "Ok".
const dialog = (tab, caption) => tab.getByRole('dialog', { name: caption, exact: true });
const button = (scope, name) => scope.getByRole('button', { name, exact: true });
const inputDialog = (tab) => dialog(tab, facts.inputCaption);

// Waits for the input window, types `entered` (put in at once when long) and confirms it with
// `finish`: 'Enter', 'Escape' or 'click' on Ok.
async function enter(tab, entered, finish = 'Enter') {
    const window = inputDialog(tab);
    await window.waitFor();
    const field = window.getByRole('textbox', { name: facts.inputPrompt, exact: true });
    assert.equal(await tab.locator('#input-caption').textContent(), facts.inputCaption);
    assert.ok(await field.evaluate((element) => element === document.activeElement), 'focus');
    if (entered.length > 100) await field.fill(entered);
    else await tab.keyboard.type(entered);
    if (finish === 'click') await button(window, 'Ok').click();
    else await tab.keyboard.press(finish);
    await window.waitFor({ state: 'hidden' });
}

// Waits for the message box captioned `caption`; returns its text, as the program passed it.
async function noteText(tab, caption) {
    const box = dialog(tab, caption);
    await box.waitFor();
    assert.equal(await tab.locator('#note-caption').textContent(), caption);
    const ok = button(box, 'OK');
    assert.ok(await ok.evaluate((element) => element === document.activeElement), 'focus on OK');
    return tab.locator('#note-text').textContent();
}

// The box `example` leads to is on screen; dismisses it with `dismiss` and waits for the end.
async function expectShows(tab, example, dismiss = 'Enter') {
    if (example.shows === 'report') {
        const text = await noteText(tab, facts.reportCaption);
        assert.match(text, new RegExp(`^${example.reportPattern}$`));
    } else if (example.shows === 'error') {
        assert.equal(await noteText(tab, facts.errorCaption), facts.errorText);
    }
    if (example.shows !== 'nothing') {
        await tab.keyboard.press(dismiss);
        await tab.getByRole('dialog').waitFor({ state: 'hidden' });
    }
    await tab.getByRole('status').filter({ hasText: Ended }).waitFor();
}

const example = (entered) => facts.examples.find((e) => e.entered === entered);

// What `tab` requested besides the page at `own`, its worker (blob:) and its icon (data:).
const requestsBeyond = (tab, own) =>
    tab.requests.filter((url) => url !== own && !/^(blob|data):/.test(url));

describe('the page', () => {
    test('shows every worked example as the program reports it', async () => {
        for (const worked of facts.examples) {
            const tab = await open();
            await enter(tab, worked.entered);
            await expectShows(tab, worked);
            assert.deepEqual(tab.errors, [], worked.entered);
            await tab.context().close();
        }
    });

    test('confirms by a click on Ok, cancels by Escape, closes the box by Escape', async () => {
        const cases = [
            { typed: '360', finish: 'click', showsAs: '360', dismiss: 'Enter' },
            { typed: '12', finish: 'Escape', showsAs: '', dismiss: 'Enter' }, // cancelled
            { typed: '97', finish: 'Enter', showsAs: '97', dismiss: 'Escape' },
        ];
        for (const c of cases) {
            const tab = await open();
            await enter(tab, c.typed, c.finish);
            await expectShows(tab, example(c.showsAs), c.dismiss);
            await tab.context().close();
        }
    });

    test('opened from disk, it makes no request and is at most 64 KiB', async () => {
        assert.ok(statSync(page).size <= 64 * 1024, `${statSync(page).size} bytes`);
        const tab = await open();
        await enter(tab, '12');
        await expectShows(tab, example('12'));
        assert.deepEqual(requestsBeyond(tab, tab.url()), []);
        await tab.context().close();
    });

    test('served by a web server, it loads nothing beside itself', async () => {
        const html = readFileSync(page);
        const server = createServer((request, response) => {
            response.writeHead(request.url === '/' ? 200 : 404, { 'content-type': 'text/html' });
            response.end(request.url === '/' ? html : '');
        });
        await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
        try {
            const url = `http://127.0.0.1:${server.address().port}/`;
            const tab = await open(url);
            await enter(tab, '30');
            await expectShows(tab, example('30'));
            assert.deepEqual(requestsBeyond(tab, url), []);
            await tab.context().close();
        } finally {
            server.close();
        }
    });

    test('draws the input window centred, 300 x 130 pixels', async () => {
        const tab = await open();
        await inputDialog(tab).waitFor();
        const box = await inputDialog(tab).boundingBox();
        const viewport = tab.viewportSize();
        assert.deepEqual([box.width, box.height], [300, 130]);
        assert.ok(Math.abs(box.x - (viewport.width - 300) / 2) <= 1, `x ${box.x}`);
        assert.ok(Math.abs(box.y - (viewport.height - 130) / 2) <= 1, `y ${box.y}`);
        assert.equal(await inputDialog(tab).getByText(facts.inputPrompt).count(), 1);
        await tab.context().close();
    });

    test('scrolls a report taller than the window, caption and OK staying in view', async () => {
        const tab = await open();
        await enter(tab, facts.longReportEntry);
        const text = await noteText(tab, facts.reportCaption);
        const divisors = text.split('\r\n').at(-1).split(', ');
        assert.equal(divisors.length, facts.longReportDivisors);
        const body = tab.locator('#note-text');
        const [scrollHeight, clientHeight] =
            await body.evaluate((element) => [element.scrollHeight, element.clientHeight]);
        assert.ok(scrollHeight > clientHeight, `${scrollHeight} > ${clientHeight}`);
        const viewport = tab.viewportSize();
        const inView = (box) =>
            box.height > 0 && box.y >= 0 && box.y + box.height <= viewport.height;
        const caption = await tab.locator('#note-caption').boundingBox();
        assert.ok(inView(caption) && caption.height >= 20, `caption ${JSON.stringify(caption)}`);
        const ok = await button(tab, 'OK').boundingBox();
        assert.ok(inView(ok), `OK ${JSON.stringify(ok)}`);
        await button(tab, 'OK').click();
        await tab.getByRole('status').filter({ hasText: Ended }).waitFor();
        await tab.context().close();
    });

    test('cuts an entry past the limit as the Windows edition does', async () => {
        const tab = await open();
        await enter(tab, facts.longEntry);
        await expectShows(tab, example(facts.longEntryShowsAs));
        await tab.context().close();
    });

    test('runs the program again when asked', async () => {
        const tab = await open();
        await enter(tab, '');
        await expectShows(tab, example(''));
        await button(tab, 'Noch einmal starten').press('Enter');
        await enter(tab, '2');
        await expectShows(tab, example('2'));
        await tab.context().close();
    });

    test('says so when the program runs out of memory', async () => {
        const tab = await open(pathToFileURL(smallMemoryPage).href);
        const code = `Exit-Code ${facts.outOfMemoryExitCode}`;
        await tab.getByRole('status').filter({ hasText: code }).waitFor();
        assert.match(await tab.getByRole('status').innerText(), /zu wenig Speicher/);
        assert.equal(await tab.getByRole('dialog').count(), 0, 'no input window');
        await tab.context().close();
    });
});
