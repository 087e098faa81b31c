// The page end to end, in headless Chromium, served on loopback: one road per behaviour, with
// real keys and clicks. Every request the page makes is recorded, and none may leave its origin.
//
//   node page.mjs <site folder> <chromium>

import assert from 'node:assert/strict';
import {launch} from './browser.mjs';

const [site, chromium] = process.argv.slice(2);
const {browser, server, origin} = await launch(site, chromium);
const foreign = [];
let failures = 0;

async function road(name, locale, walk) {
    const context = await browser.newContext({locale});
    context.on('request', (request) => {
        if (!request.url().startsWith(origin + '/')) {
            foreign.push(request.url());
        }
    });
    const page = await context.newPage();
    // A script error, or anything the content policy had to refuse, is a failure too.
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    page.on('console', (message) => ['error', 'warning'].includes(message.type()) &&
                                    errors.push(message.text()));
    try {
        await page.goto(origin + '/');
        await page.waitForFunction(() => performance.getEntriesByName('melkora-ready').length > 0);
        await walk(page, context);
        assert.deepEqual(errors, []);
        console.log(`PASS ${name}`);
    } catch (error) {
        ++failures;
        console.log(`FAIL ${name}\n${error.stack}`);
    } finally {
        await context.close();
    }
}

const fields = (page, names) =>
    page.evaluate((names) => names.map((name) => document.getElementById(name).value), names);
const focused = (page) => page.evaluate(() => document.activeElement.id);
async function type(page, values) {
    for (const [name, value] of Object.entries(values)) {
        await page.fill('#' + name, value);
    }
}
const worked = {a: '1', b: '2', c: '3', d: '4', e: '5', f: '6'};

// The box: its title and text, modal, and the focus back where it was after OK.
async function report(page, pressIn, expected) {
    await page.focus('#' + pressIn);
    await page.keyboard.press('Enter');
    const box = page.locator('#message');
    assert.ok(await box.evaluate((box) => box.open), 'the box is open');
    assert.equal(await page.textContent('#message-title'), 'Melkora');
    assert.match(await page.textContent('#message-text'), expected);
    for (let i = 0; i < 12; ++i) {
        await page.keyboard.press('Tab');
        assert.ok(!(await page.evaluate(() => document.activeElement.closest('#window'))),
                  'nothing behind the box takes the focus');
    }
    await page.click('#message-ok');
    assert.ok(!(await box.evaluate((box) => box.open)), 'OK closes the box');
    assert.equal(await focused(page), pressIn);
}

await road('the window as it opens, and Tab through it', 'en-US', async (page) => {
    assert.equal(await page.title(), 'Melkora');
    assert.equal(await page.getAttribute('meta[name="application-name"]', 'content'), 'Melkora');
    assert.equal(await page.getAttribute('meta[name="version"]', 'content'), '1.00');
    const order = [await focused(page)];
    for (let i = 0; i < 10; ++i) {
        await page.keyboard.press('Tab');
        order.push(await focused(page));
    }
    assert.deepEqual(order, ['a', 'b', 'c', 'd', 'e', 'f', 'x', 'y', 'z', 'cmdCalculate', '']);
});

await road('Calculate by Enter, Enter in a locked field, Alt+C, Space and a click', 'en-US',
           async (page) => {
    await type(page, worked);
    await page.focus('#f');
    await page.keyboard.press('Enter');
    assert.deepEqual(await fields(page, ['x', 'y', 'z']), ['-3', '6', '-3']);
    assert.equal(await focused(page), 'f');

    const runs = [
        ['x', 'Enter', {a: '2'}, ['-3', '0', '2']],
        ['c', 'Alt+c', {a: '1', c: '4'}, ['-8', '10', '-3']],
        ['cmdCalculate', ' ', {c: '0'}, ['12', '-6', '-3']],
    ];
    for (const [where, key, change, expected] of runs) {
        await type(page, change);
        await page.focus('#' + where);
        await page.keyboard.press(key === ' ' ? 'Space' : key);
        assert.deepEqual(await fields(page, ['x', 'y', 'z']), expected, `${key} in ${where}`);
        assert.equal(await focused(page), where, `${key} leaves the focus in ${where}`);
    }
    await type(page, {b: '3'});
    await page.click('#cmdCalculate');
    assert.deepEqual(await fields(page, ['x', 'y', 'z']), ['18', '-6', '-7'], 'a click');
});

await road('the results reach a screen reader, and the focus stays', 'en-US', async (page) => {
    const cdp = await page.context().newCDPSession(page);
    // The region as Chromium gives it to screen readers: a live region's words are its
    // contents, which it reads whole. The tree follows the page a moment later.
    const status = async (expected) => {
        for (let tries = 0; ; ++tries) {
            const {nodes} = await cdp.send('Accessibility.getFullAXTree');
            const node = nodes.find((node) => node.role && node.role.value === 'status');
            const property = (name) => node.properties.find((p) => p.name === name)?.value.value;
            const text = (node.childIds || [])
                .map((id) => nodes.find((child) => child.nodeId === id)?.name?.value ?? '').join('');
            const seen = {text, live: property('live'), atomic: property('atomic')};
            if (seen.text === expected || tries === 20) {
                return seen;
            }
            await page.waitForTimeout(50);
        }
    };
    assert.deepEqual(await status(''), {text: '', live: 'polite', atomic: true});
    await type(page, worked);
    await page.evaluate(() => {
        window.heard = [];
        new MutationObserver(() => window.heard.push(document.getElementById('status').textContent))
            .observe(document.getElementById('status'), {childList: true, characterData: true});
    });
    await page.focus('#f');
    await page.keyboard.press('Enter');
    const heard = 'Cross product: -3, 6, -3';
    assert.deepEqual(await status(heard), {text: heard, live: 'polite', atomic: true});
    assert.equal(await focused(page), 'f');
    await page.keyboard.press('Enter'); // the same again is announced again
    await page.waitForFunction(() => window.heard.length === 3);
    assert.deepEqual(await page.evaluate(() => window.heard), [heard, '', heard]);
});

await road('the locked fields refuse edits and can be copied from', 'en-US', async (page, context) => {
    await context.grantPermissions(['clipboard-read', 'clipboard-write']);
    await type(page, worked);
    await page.keyboard.press('Enter');
    await page.focus('#y');
    await page.keyboard.press('Control+a');
    await page.keyboard.press('Control+c');
    assert.equal(await page.evaluate(() => navigator.clipboard.readText()), '6');
    for (const key of ['7', 'Backspace', 'Delete', 'Control+x', 'Control+v']) {
        await page.keyboard.press(key);
    }
    assert.deepEqual(await fields(page, ['y']), ['6']);
});

await road('a stop point and an overflow are reported, a huge text too', 'en-US', async (page) => {
    await type(page, {...worked, c: 'abc'});
    await report(page, 'e', /^Type mismatch: field c holds "abc", which is not a number\.$/);
    assert.deepEqual(await fields(page, ['x', 'y', 'z']), ['', '', ''], 'nothing is written');
    await type(page, {...worked, b: '1e200', f: '1e200'});
    await report(page, 'b', /^Overflow: the result for x is too large/);
    await type(page, {...worked, a: '9'.repeat(100000)});
    await report(page, 'a', /^Overflow: field a holds "9{10,}/);
});

await road('the credit line opens the home page, once per click', 'en-US', async (page) => {
    await page.evaluate(() => {
        window.opened = [];
        window.open = (...args) => {
            window.opened.push(args);
            return null;
        };
    });
    await page.focus('#d');
    // The labels let the mouse through to the window's surface, which reports it: the clicks
    // are forced at the label's place.
    const link = page.getByText('by Melkora Software');
    assert.equal(await link.evaluate((label) => getComputedStyle(label.parentElement).cursor),
                 'default');
    await link.click({force: true});
    await link.dblclick({force: true});
    await page.getByText('Second Generation!').click({force: true});
    assert.deepEqual(await page.evaluate(() => window.opened),
                     [['http://www.melkora.org/', '_blank', 'noopener'],
                      ['http://www.melkora.org/', '_blank', 'noopener']]);
    assert.equal(await focused(page), 'd', 'the label takes no focus');
});

await road('a page without window.open says so, and the next click looks again', 'en-US',
           async (page) => {
    await page.evaluate(() => { window.open = undefined; });
    await page.getByText('by Melkora Software').click({force: true});
    assert.match(await page.textContent('#message-text'), /Function not found: window\.open/);
    await page.click('#message-ok');
    await page.evaluate(() => {
        window.opened = 0;
        window.open = () => { ++window.opened; };
    });
    await page.getByText('by Melkora Software').click({force: true});
    assert.equal(await page.evaluate(() => window.opened), 1);
});

await road('a German browser reads and writes a decimal comma', 'de-DE', async (page) => {
    await type(page, {...worked, a: '1,5'});
    await page.keyboard.press('Enter');
    assert.deepEqual(await fields(page, ['x', 'y', 'z']), ['-3', '3', '-0,5']);
});

await road('the second visit works with the network gone', 'en-US', async (page) => {
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.reload(); // now under the worker
    await page.evaluate(() => navigator.serviceWorker.ready);
    await new Promise((done) => {
        server.close(done);
        server.closeAllConnections();
    });
    await page.reload();
    await page.waitForFunction(() => performance.getEntriesByName('melkora-ready').length > 0);
    await type(page, worked);
    await page.keyboard.press('Enter');
    assert.deepEqual(await fields(page, ['x', 'y', 'z']), ['-3', '6', '-3']);
});

if (foreign.length > 0) {
    ++failures;
    console.log(`FAIL requests left the page's origin:\n  ${foreign.join('\n  ')}`);
}
await browser.close();
process.exit(failures === 0 ? 0 : 1);
