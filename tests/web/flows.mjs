// What a person does with the page, in any engine (engines.mjs): open it, find a window or a
// button by its role and accessible name, type, confirm, read a message box. Every wait polls
// and is bounded: a window that never comes fails within seconds.
import assert from 'node:assert/strict';
import { Timeouts, sleep } from './engines.mjs';

// The page's own texts that the tests look for (the program's are the worked examples'): the
// input window's button, the message box's, the one after the end, and two status lines.
export const Page = { okButton: 'Ok', noteButton: 'OK', againButton: 'Noch einmal starten',
                      ended: 'Das Programm ist beendet.',
                      running: 'Das Programm l\u00e4uft \u2026' };

let missed = null; // what the first wait that failed waited for

// In the page: the first visible element whose role (its role attribute, or a dialog's, a
// button's, a text field's) is `role` and whose accessible name is `name` (any if null); null if
// none. open() installs it in each page as window.primteilerFind: functions cross as text.
function find(role, name) {
    const roles = { DIALOG: 'dialog', BUTTON: 'button' };
    const roleOf = (element) => element.getAttribute('role') || roles[element.tagName] ||
        (element.tagName === 'INPUT' && element.type === 'text' ? 'textbox' : null);
    const textOf = (id) => document.getElementById(id)?.textContent ?? '';
    const nameOf = (element) => {
        if (element.hasAttribute('aria-label')) return element.getAttribute('aria-label');
        const labelledBy = element.getAttribute('aria-labelledby');
        if (labelledBy) return labelledBy.split(/\s+/).map(textOf).join(' ').trim();
        if (element.labels?.length) return [...element.labels].map((l) => l.textContent).join(' ');
        return roleOf(element) === 'button' ? element.textContent.trim() : '';
    };
    const visible = (element) => element.getClientRects().length > 0 &&
        getComputedStyle(element).visibility !== 'hidden';
    return [...document.querySelectorAll('*')].find((element) =>
        roleOf(element) === role && (name === null || nameOf(element) === name) &&
        visible(element)) ?? null;
}

// In the page: what a test reads of the element `find` gives (null if none): its text, value,
// focus, box, scroll size, background and its four edges, each { side, width, colour }.
function readElement(role, name) {
    const element = window.primteilerFind(role, name);
    if (!element) return null;
    const { x, y, width, height } = element.getBoundingClientRect();
    const style = getComputedStyle(element);
    return { text: element.textContent, value: element.value ?? null,
             focused: element === document.activeElement, rect: { x, y, width, height },
             scrollHeight: element.scrollHeight, clientHeight: element.clientHeight,
             background: style.backgroundColor,
             edges: ['Top', 'Right', 'Bottom', 'Left'].map((side) => ({ side,
                 width: style[`border${side}Width`], colour: style[`border${side}Color`] })) };
}

// Fails once a wait has failed (see waitFor): the page is broken, and the tests after it fail
// at once, opening no page and starting no browser.
export function refuseIfBroken() {
    if (missed) assert.fail(`not tried: an earlier page never showed ${missed}`);
}

// A fresh page of `url` in `engine`, with the finder installed (see refuseIfBroken).
export async function open(engine, url, size) {
    refuseIfBroken();
    const tab = await engine.open(url, size);
    await tab.evaluate(`window.primteilerFind = ${find}`);
    return tab;
}

// Polls `fn(...args)` in the page until it returns something truthy; returns that. Fails after
// `timeout` ms, naming `what`; after Timeouts.afterMiss once a wait has failed in this process.
export async function waitFor(tab, what, fn, args = [], timeout = Timeouts.appear) {
    const bound = missed ? Math.min(timeout, Timeouts.afterMiss) : timeout;
    const end = Date.now() + bound;
    for (;;) {
        const value = await tab.evaluate(fn, ...args);
        if (value) return value;
        if (Date.now() > end) {
            const since = missed ? ` (since ${missed} never came)` : '';
            missed ??= what;
            assert.fail(`waited ${bound / 1000} s for ${what}${since}`);
        }
        await sleep(10);
    }
}

// The element of `role` and `name`, once it is there (see readElement()); or null at once.
export const found = (tab, role, name) => tab.evaluate(readElement, role, name);
export const appears = (tab, role, name, timeout) =>
    waitFor(tab, `${role} "${name}"`, readElement, [role, name], timeout);
export const disappears = (tab, role, name, timeout) =>
    waitFor(tab, `${role} "${name}" to go`, (r, n) => !window.primteilerFind(r, n), [role, name],
            timeout);

// Waits until the status line says `text`, exactly.
export const statusSays = (tab, text, timeout) =>
    waitFor(tab, `the status line to say "${text}"`,
            (t) => document.querySelector('[role=status]')?.textContent === t, [text], timeout);

// Clicks the middle of the element of `role` and `name`, as a mouse does.
export async function click(tab, role, name) {
    const { rect } = await appears(tab, role, name);
    await tab.click(rect.x + rect.width / 2, rect.y + rect.height / 2);
}

// Ends the window of `caption` as a key, a click or the browser does: `how` is a key, 'click'
// (on the window's button `button`) or 'close': closed from outside the page's own handlers, as
// Chromium closes a window on a second Escape even when the page cancelled the first.
export async function finishWindow(tab, caption, button, how) {
    if (how === 'click') await click(tab, 'button', button);
    else if (how === 'close') await tab.evaluate((c) => window.primteilerFind('dialog', c).close(),
                                                caption);
    else await tab.press(how);
}

// Waits for the input window of `facts`' caption and prompt, puts `entered` in (typed; a long
// text set at once, as pasted) and confirms it with `finish` (see finishWindow).
export async function enter(tab, facts, entered, finish = 'Enter') {
    await appears(tab, 'dialog', facts.inputCaption);
    const field = await appears(tab, 'textbox', facts.inputPrompt);
    assert.ok(field.focused, 'the field has the focus');
    if (entered.length > 100) {
        await tab.evaluate((text) => {
            document.activeElement.value = text;
            document.activeElement.dispatchEvent(new Event('input', { bubbles: true }));
        }, entered);
    } else {
        await tab.type(entered);
    }
    await finishWindow(tab, facts.inputCaption, Page.okButton, finish);
    await disappears(tab, 'dialog', facts.inputCaption);
}

// Waits for the message box captioned `caption`, its OK focused; returns its text as the
// program passed it.
export async function noteText(tab, caption, timeout) {
    await appears(tab, 'dialog', caption, timeout);
    assert.ok((await appears(tab, 'button', Page.noteButton)).focused, 'the focus is on OK');
    return tab.evaluate((c) =>
        window.primteilerFind('dialog', c).querySelector('.note-text').textContent, caption);
}
