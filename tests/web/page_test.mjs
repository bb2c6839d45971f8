// The web edition end to end, in the engine PRIMTEILER_ENGINE names (chromium, firefox or
// webkit; engines.mjs): the page as built, driven from the keyboard and the mouse and read
// back from its windows as a person or a screen reader finds them; and its accessibility,
// with axe-core and by measuring what axe leaves open. One body for every engine; what an
// engine cannot observe is said in engines.mjs and checked in the others.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';
import { Cannot, launch } from './engines.mjs';
import { appears, click, disappears, enter, found, noteText, open, statusSays, waitFor }
    from './flows.mjs';

const page = process.env.PRIMTEILER_PAGE;
const pageUrl = pathToFileURL(page).href;
const smallMemoryPage = process.env.PRIMTEILER_SMALL_MEMORY_PAGE;
const facts = JSON.parse(readFileSync(process.env.PRIMTEILER_EXAMPLES, 'utf8'));
const engineName = process.env.PRIMTEILER_ENGINE;
const Ended = 'Das Programm ist beendet.';
const Running = 'Das Programm l\u00e4uft \u2026';
const cannot = Cannot[engineName] ?? {};

let engine;
before(async () => {
    engine = await launch(engineName);
});
after(() => engine?.close());

// Closes `tab` after checking that it logged no error but those `expected` matches (where the
// engine shows its log).
async function done(tab, what = '', expected = /^$/) {
    const errors = tab.errors?.filter((error) => !expected.test(error)) ?? [];
    assert.deepEqual(errors, [], `errors in the page ${what}`);
    await tab.close();
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
        await tab.press(dismiss);
        await disappears(tab, 'dialog', null);
    }
    await statusSays(tab, Ended);
}

const example = (entered) => facts.examples.find((e) => e.entered === entered);

// What the page fetched, as the page itself records it (every engine), and as the driver saw
// it (where it can): nothing beyond the page at `own`, its worker (blob:) and its icon (data:).
async function fetchedBeyond(tab, own) {
    const entries = await tab.evaluate(() =>
        performance.getEntriesByType('resource').map((entry) => entry.name));
    return [...entries, ...(tab.requests ?? [])]
        .filter((url) => url !== own && !/^(blob|data):/.test(url));
}

describe(`the page in ${engineName}`, () => {
    test('shows every worked example as the program reports it', async () => {
        for (const worked of facts.examples) {
            const tab = await open(engine, pageUrl);
            await enter(tab, facts, worked.entered);
            await expectShows(tab, worked);
            await done(tab, `for "${worked.entered}"`);
        }
    });

    test('confirms by a click on Ok, cancels by Escape, closes the box by Escape', async () => {
        const cases = [
            { typed: '360', finish: 'click', showsAs: '360', dismiss: 'Enter' },
            { typed: '12', finish: 'Escape', showsAs: '', dismiss: 'Enter' }, // cancelled
            { typed: '97', finish: 'Enter', showsAs: '97', dismiss: 'Escape' },
        ];
        for (const c of cases) {
            const tab = await open(engine, pageUrl);
            await enter(tab, facts, c.typed, c.finish);
            await expectShows(tab, example(c.showsAs), c.dismiss);
            await done(tab);
        }
    });

    test('opened from disk, it makes no request and is at most 64 KiB', async () => {
        assert.ok(statSync(page).size <= 64 * 1024, `${statSync(page).size} bytes`);
        const tab = await open(engine, pageUrl);
        await enter(tab, facts, '12');
        await expectShows(tab, example('12'));
        assert.deepEqual(await fetchedBeyond(tab, pageUrl), []);
        await done(tab);
    });

    test('served by a web server, it loads nothing beside itself', async () => {
        const html = readFileSync(page);
        const asked = [];
        const server = createServer((request, response) => {
            asked.push(request.url);
            response.writeHead(request.url === '/' ? 200 : 404, { 'content-type': 'text/html' });
            response.end(request.url === '/' ? html : '');
        });
        await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
        try {
            const url = `http://127.0.0.1:${server.address().port}/`;
            const tab = await open(engine, url);
            await enter(tab, facts, '30');
            await expectShows(tab, example('30'));
            assert.deepEqual(await fetchedBeyond(tab, url), []);
            assert.deepEqual(asked, ['/'], 'what the server was asked for');
            await done(tab);
        } finally {
            server.close();
        }
    });

    test('draws the input window centred, 300 x 130 pixels', async () => {
        const tab = await open(engine, pageUrl);
        const { rect } = await appears(tab, 'dialog', facts.inputCaption);
        const [width, height] = await tab.evaluate(() => [innerWidth, innerHeight]);
        assert.deepEqual([rect.width, rect.height], [300, 130]);
        assert.ok(Math.abs(rect.x - (width - 300) / 2) <= 1, `x ${rect.x}`);
        assert.ok(Math.abs(rect.y - (height - 130) / 2) <= 1, `y ${rect.y}`);
        await done(tab);
    });

    test('scrolls a report taller than the window, caption and OK staying in view', async () => {
        const tab = await open(engine, pageUrl);
        await enter(tab, facts, facts.longReportEntry);
        const text = await noteText(tab, facts.reportCaption);
        assert.equal(text.split('\r\n').at(-1).split(', ').length, facts.longReportDivisors);
        const [width, height] = await tab.evaluate(() => [innerWidth, innerHeight]);
        const inView = ({ rect }) => rect.height > 0 && rect.y >= 0 &&
            rect.y + rect.height <= height && rect.x >= 0 && rect.x + rect.width <= width;
        // The text scrolls, so it is a named tab stop for the keyboard.
        const body = await appears(tab, 'region', facts.reportCaption);
        assert.ok(body.scrollHeight > body.clientHeight, `${body.scrollHeight} > ${body.clientHeight}`);
        const box = await found(tab, 'dialog', facts.reportCaption);
        assert.ok(inView(box), `the box ${JSON.stringify(box.rect)}`);
        assert.ok(box.rect.height < height, 'the box is shorter than the window');
        assert.ok(inView(await found(tab, 'button', 'OK')), 'OK in view');
        await click(tab, 'button', 'OK');
        await statusSays(tab, Ended);
        await done(tab);
    });

    test('cuts an entry past the limit as the Windows edition does', async () => {
        const tab = await open(engine, pageUrl);
        await enter(tab, facts, facts.longEntry);
        await expectShows(tab, example(facts.longEntryShowsAs));
        await done(tab);
    });

    test('runs the program again when asked', async () => {
        const tab = await open(engine, pageUrl);
        await enter(tab, facts, '');
        await expectShows(tab, example(''));
        assert.ok((await appears(tab, 'button', 'Noch einmal starten')).focused, 'focus');
        await tab.press('Enter');
        await enter(tab, facts, '2');
        await expectShows(tab, example('2'));
        await done(tab);
    });

    test('says so when the program runs out of memory', async () => {
        const tab = await open(engine, pathToFileURL(smallMemoryPage).href);
        const line = await statusSays(tab, `Exit-Code ${facts.outOfMemoryExitCode}`);
        assert.match(line, /zu wenig Speicher/);
        assert.equal(await found(tab, 'dialog', null), null, 'no input window');
        await done(tab, '', /^primteiler: out of memory$/); // the program's own line
    });

    test('fits a phone at 400 % zoom, with targets of at least 24 pixels',
         { skip: cannot.narrowViewport }, async () => {
        // 1280 CSS pixels at 400 % are 320.
        const tab = await open(engine, pageUrl, { width: 320, height: 256 });
        assert.equal(await tab.evaluate(() => innerWidth), 320);
        const states = [
            { window: facts.inputCaption, buttons: ['Ok'] },
            { window: facts.reportCaption, buttons: ['OK'] },
        ];
        for (const state of states) {
            const box = await appears(tab, 'dialog', state.window);
            const [scrollWidth, width] =
                await tab.evaluate(() => [document.documentElement.scrollWidth, innerWidth]);
            assert.ok(scrollWidth <= width, `${state.window}: page ${scrollWidth} > ${width}`);
            const overflow = await tab.evaluate((caption) => {
                const dialog = window.primteilerFind('dialog', caption);
                const outer = dialog.getBoundingClientRect();
                return [...dialog.querySelectorAll('*')].map((e) => [e, e.getBoundingClientRect()])
                    .filter(([, r]) => r.width && (r.left < outer.left || r.right > outer.right))
                    .map(([e, r]) => `${e.tagName} ${r.left}..${r.right}`);
            }, state.window);
            assert.deepEqual(overflow, [], `${state.window} at ${JSON.stringify(box.rect)}`);
            for (const name of state.buttons) {
                const { rect } = await appears(tab, 'button', name);
                assert.ok(rect.width >= 24 && rect.height >= 24, `${name} ${rect.width}x${rect.height}`);
            }
            if (state.window === facts.inputCaption) await enter(tab, facts, '360');
        }
        await tab.press('Enter');
        const { rect } = await appears(tab, 'button', 'Noch einmal starten');
        assert.ok(rect.width >= 24 && rect.height >= 24, `again ${rect.width}x${rect.height}`);
        await done(tab);
    });

    test('asks a phone for digits, and still takes any text', async () => {
        const tab = await open(engine, pageUrl);
        await appears(tab, 'textbox', facts.inputPrompt);
        const field = await tab.evaluate(() => {
            const input = window.primteilerFind('textbox', null);
            return [input.type, input.getAttribute('inputmode'), input.getAttribute('enterkeyhint')];
        });
        assert.deepEqual(field, ['text', 'numeric', 'done']);
        await enter(tab, facts, ' 12abc');
        await expectShows(tab, example(' 12abc'));
        await done(tab);
    });
});

// --- Accessibility: axe-core, and what axe leaves undecided ----------------------------------

const axeTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];
const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'),
                               'utf8');

// axe-core's findings in `tab` now: its violations, one line each ("rule: target"), and how
// many rules passed and how many it could not decide.
async function axeFindings(tab) {
    await tab.evaluate(axeSource); // injected by the test, never shipped in the page
    return tab.evaluate(async (tags) => {
        const result = await window.axe.run(document, { runOnly: { type: 'tag', values: tags } });
        return { violations: result.violations.flatMap((v) => v.nodes.map((n) => `${v.id}: ${n.target}`)),
                 passed: result.passes.length,
                 incomplete: result.incomplete.map((i) => i.id) };
    }, axeTags);
}

// WCAG's contrast ratio of two "rgb(r, g, b)" colours.
function contrast(first, second) {
    const luminance = (colour) => {
        const [r, g, b] = colour.match(/[\d.]+/g).slice(0, 3).map((c) => {
            const s = Number(c) / 255;
            return s <= 0.03928 ? s / 12.92 : ((s + 0.055) / 1.055) ** 2.4;
        });
        return 0.2126 * r + 0.7152 * g + 0.0722 * b;
    };
    const [dark, light] = [luminance(first), luminance(second)].sort((a, b) => a - b);
    return (light + 0.05) / (dark + 0.05);
}

// In the page: the caption's text colour and the colour of its background under the right edge
// of its last character, from the caption's linear gradient (left to right).
function captionColours(caption) {
    const bar = window.primteilerFind('dialog', caption).querySelector('.caption');
    const range = document.createRange();
    range.setStart(bar.firstChild, bar.firstChild.length - 1);
    range.setEnd(bar.firstChild, bar.firstChild.length);
    const lastCharacter = range.getBoundingClientRect();
    const box = bar.getBoundingClientRect();
    const style = getComputedStyle(bar);
    const stops = style.backgroundImage.match(/rgba?\([^)]*\)/g);
    if (!stops) return { text: style.color, background: style.backgroundColor };
    const at = Math.min(1, (lastCharacter.right - box.left) / box.width) * (stops.length - 1);
    const [from, to] = [stops[Math.floor(at)], stops[Math.ceil(at)]]
        .map((s) => s.match(/[\d.]+/g).map(Number));
    const part = at - Math.floor(at);
    const mixed = from.slice(0, 3).map((c, i) => Math.round(c + (to[i] - c) * part));
    return { text: style.color, background: `rgb(${mixed.join(', ')})` };
}

// In the page: every status line change with whether an assistive technology could take it in:
// no modal window open (which makes the rest of the page inert) and no window closed in the
// same task (the line then enters the accessibility tree already changed, and nothing is read).
function recordStatus() {
    window.primteilerStatus = [];
    const status = document.querySelector('[role=status]');
    let closing = false; // a window closed in the task that runs now
    new MutationObserver((records) => {
        if (records.some((r) => r.attributeName === 'open' && !r.target.open)) {
            closing = true;
            setTimeout(() => (closing = false));
        }
        if (!records.some((r) => status.contains(r.target))) return;
        window.primteilerStatus.push({
            text: status.textContent,
            exposed: !closing && !document.querySelector('dialog:modal') &&
                !status.closest('[inert]'),
        });
    }).observe(document.body, { subtree: true, childList: true, characterData: true,
                                attributes: true, attributeFilter: ['open'] });
}

describe(`the page for everyone, in ${engineName}`, () => {
    test('axe-core finds no violation in any of six states', async (t) => {
        const states = [
            { name: 'input window', entered: null },
            { name: 'report of 360', entered: '360', box: facts.reportCaption },
            { name: 'ERROR box', entered: 'abc', box: facts.errorCaption },
            { name: 'report of 735134400', entered: facts.longReportEntry,
              box: facts.reportCaption },
            { name: 'ended', entered: '360', box: facts.reportCaption, dismiss: 'Enter' },
            { name: 'ended by Escape', entered: '12', finish: 'Escape' },
        ];
        const violationsOf = {};
        for (const state of states) {
            const tab = await open(engine, pageUrl);
            await appears(tab, 'dialog', facts.inputCaption);
            if (state.entered !== null) await enter(tab, facts, state.entered, state.finish);
            if (state.box) await noteText(tab, state.box);
            if (state.dismiss) await tab.press(state.dismiss);
            if (state.dismiss || state.finish) await statusSays(tab, Ended);
            const { violations, passed, incomplete } = await axeFindings(tab);
            t.diagnostic(`${state.name}: ${violations.length} violations, ${passed} rules ` +
                         `passed, undecided: ${incomplete.join(' ') || 'none'}`);
            violationsOf[state.name] = violations;
            await done(tab, state.name);
        }
        for (const state of states) assert.deepEqual(violationsOf[state.name], [], state.name);
    });

    test('caption text and field edge stand out from their background', async (t) => {
        const tab = await open(engine, pageUrl);
        await appears(tab, 'dialog', facts.inputCaption);
        const caption = await tab.evaluate(captionColours, facts.inputCaption);
        const ratio = contrast(caption.text, caption.background);
        t.diagnostic(`caption ${caption.text} on ${caption.background}: ${ratio.toFixed(2)}:1`);
        assert.ok(ratio >= 4.5, `caption ${caption.text} on ${caption.background}: ${ratio}`);
        const edges = await tab.evaluate((prompt) => {
            const field = getComputedStyle(window.primteilerFind('textbox', prompt));
            const window_ = getComputedStyle(document.querySelector('dialog[open]'));
            return ['Top', 'Right', 'Bottom', 'Left'].map((side) =>
                [side, field[`border${side}Color`], window_.backgroundColor]);
        }, facts.inputPrompt);
        for (const [side, edge, background] of edges) {
            const edgeRatio = contrast(edge, background);
            t.diagnostic(`field edge ${side} ${edge} on ${background}: ${edgeRatio.toFixed(2)}:1`);
            assert.ok(edgeRatio >= 3, `field edge ${side} ${edge} on ${background}: ${edgeRatio}`);
        }
        await done(tab);
    });

    test('keeps every edge and the caption bar in forced colours', { skip: cannot.forcedColors },
         async () => {
        const forced = await launch(engineName, { forcedColors: true });
        try {
            const tab = await open(forced, pageUrl);
            await appears(tab, 'dialog', facts.inputCaption);
            const look = await tab.evaluate((caption) => {
                const window_ = window.primteilerFind('dialog', caption);
                const style = getComputedStyle(window_);
                const bar = getComputedStyle(window_.querySelector('.caption'));
                return { forced: matchMedia('(forced-colors: active)').matches,
                         edges: ['Top', 'Right', 'Bottom', 'Left'].map((side) =>
                             [side, style[`border${side}Width`], style[`border${side}Color`]]),
                         background: style.backgroundColor, bar: bar.backgroundColor,
                         barText: bar.color };
            }, facts.inputCaption);
            assert.ok(look.forced, 'forced colours are on');
            for (const [side, width, colour] of look.edges) {
                assert.ok(parseFloat(width) > 0 && colour !== look.background,
                          `${side} edge ${width} ${colour} on ${look.background}`);
            }
            assert.notEqual(look.bar, look.background, 'the caption bar stands apart');
            assert.ok(contrast(look.barText, look.bar) >= 4.5, `${look.barText} on ${look.bar}`);
            await done(tab);
        } finally {
            await forced.close();
        }
    });

    test('announces the computation while it runs and again when it ends', async () => {
        const tab = await open(engine, pageUrl);
        await appears(tab, 'dialog', facts.inputCaption);
        await tab.evaluate(recordStatus);
        await enter(tab, facts, '100000007'); // a prime: a fifth of a second of divisions
        await noteText(tab, facts.reportCaption);
        await tab.press('Enter');
        await statusSays(tab, Ended);
        const changes = await tab.evaluate(() => window.primteilerStatus);
        const seen = (text) => changes.some((c) => c.text === text && c.exposed);
        assert.ok(seen(Running), `"${Running}" announced: ${JSON.stringify(changes)}`);
        assert.ok(seen(Ended), `"${Ended}" announced: ${JSON.stringify(changes)}`);
        await done(tab);
    });

    test('describes a long report briefly, its full text readable by keyboard', async () => {
        const tab = await open(engine, pageUrl);
        await enter(tab, facts, facts.longReportEntry);
        const text = await noteText(tab, facts.reportCaption);
        const description = await tab.evaluate((caption) => {
            const box = window.primteilerFind('dialog', caption);
            return box.getAttribute('aria-describedby').split(/\s+/)
                .map((id) => document.getElementById(id).textContent).join(' ');
        }, facts.reportCaption);
        assert.ok(description.length <= 400, `${description.length} characters`);
        assert.ok(description.startsWith(text.split('\r\n')[0]), description);
        await tab.press('Shift+Tab'); // from OK back to the text, which scrolls by keyboard
        assert.ok((await appears(tab, 'region', facts.reportCaption)).focused, 'the text has the focus');
        await tab.press('PageDown');
        await waitFor(tab, 'the text to scroll', () => document.activeElement.scrollTop > 0);
        await done(tab);
    });

    test('a short report is no tab stop of its own, after a long one either', async () => {
        const tab = await open(engine, pageUrl);
        await enter(tab, facts, facts.longReportEntry);
        await noteText(tab, facts.reportCaption);
        await tab.press('Enter');
        await statusSays(tab, Ended);
        assert.ok((await appears(tab, 'button', 'Noch einmal starten')).focused, 'focus');
        await tab.press('Enter');
        await enter(tab, facts, '12');
        await noteText(tab, facts.reportCaption);
        const stop = await tab.evaluate((caption) =>
            window.primteilerFind('dialog', caption).querySelector('.note-text').tabIndex,
        facts.reportCaption);
        assert.equal(stop, -1);
        await done(tab);
    });
});
