// The three browser engines Debian ships, each driven the way it can be, behind one small
// interface that the page's road and benchmark share: Debian's Chromium through playwright-core,
// firefox-esr over WebDriver BiDi through puppeteer-core, WebKitGTK's MiniBrowser over classic
// WebDriver (webdriver.mjs). No browser is downloaded; every launch gets a new, empty profile.
//
// engine(name) gives {serve(folder, options), tab(locale, viewport), close()}; serve() gives the
// folder on loopback as {server, origin}, with scripts/serve.mjs's options; a tab is a new, empty browser context with one page:
//   goto(url), reload(), evaluate(fn, arg), down(key), up(key), click(x, y, count),
//   resize(width, height), screenshot(), errors (what the page and the engine reported),
//   status(), close().
// A viewport is {width, height}, and for a phone (Chromium's emulation) also scale, the device
// pixels per CSS pixel, and touch: a click is then a tap of the finger.
// Keys have Playwright's names ("Enter", "Tab", "Space", "Alt", "Control", "c").

import {createHash} from 'node:crypto';
import {cpSync, existsSync, mkdtempSync, readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';

import {chromium} from 'playwright-core';
import puppeteer from 'puppeteer-core';

import {serve} from '../../../scripts/serve.mjs';
import {WebKit, removeHome, webkitHome} from './webdriver.mjs';

// Headless Chromium is the whole browser with its window drawn nowhere, and every new context
// opens a window that builds its address bar's pop-up as a page of its own, a WebUI renderer that
// costs as much processor time as a visit to our page. On two cores it ran beside half the
// visits, at random. These features keep it from being built. Chromium keeps only the last
// --disable-features, so this one also repeats what Playwright disables for itself.
const PLAYWRIGHT_FEATURES_OFF = [
    'AvoidUnnecessaryBeforeUnloadCheckSync', 'DestroyProfileOnBrowserClose', 'HttpsUpgrades',
    'HttpsFirstBalancedModeAutoEnable', 'LensOverlay', 'MediaRouter', 'PaintHolding',
    'ThirdPartyStoragePartitioning', 'AvoidCorsURLLoaderRestartOnRedirect', 'OptimizationHints',
    'NetworkTimeServiceQuerying', 'AimEnabled', 'PreconnectToSearch',
];
const ADDRESS_BAR_POPUP = [
    'WebUIOmniboxPopup', 'WebUIOmniboxFullPopup', 'WebUIOmniboxAimPopup', 'PreloadTopChromeWebUI',
];

// Chromium as root with no display needs these flags; without the background-networking ones it
// keeps trying to reach the network. Playwright adds --headless.
export const CHROMIUM_FLAGS = [
    '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-features=' + [...PLAYWRIGHT_FEATURES_OFF, ...ADDRESS_BAR_POPUP].join(','),
];

// A folder served on a free loopback port, and the origin its pages have.
export async function served(folder, options) {
    const server = await serve(folder, 0, options);
    return {server, origin: `http://127.0.0.1:${server.address().port}`};
}


export const ENGINES = ['chromium', 'firefox', 'webkit'];
const DESKTOP = {width: 1280, height: 720};

// The viewports the page is tried at, by name: a desktop window; phones upright and turned,
// emulated with touch (Chromium's emulation); a window as narrow as the engine lets it be
// (WebKitGTK's goes to about 450).
export const VIEWPORTS = {
    desktop: {width: 1280, height: 800},
    phone: {width: 320, height: 568, scale: 2, touch: true},
    'tall-phone': {width: 390, height: 844, scale: 3, touch: true},
    'phone-turned': {width: 844, height: 390, scale: 3, touch: true},
    narrow: {width: 320, height: 640},
};

// What the page's live region gives a screen reader where the engine's accessibility tree cannot
// be read from outside: its role, politeness, atomicity and words, from the page itself.
function statusInPage() {
    const region = document.querySelector('[role="status"]');
    return {text: region.textContent, live: region.getAttribute('aria-live'),
            atomic: region.getAttribute('aria-atomic') === 'true'};
}

// Playwright's and Puppeteer's pages differ in little: how a click counts and how a warning is
// named. Over BiDi, Puppeteer knows the space bar only by the character it types.
const typed = (key) => (key === 'Space' ? ' ' : key);
function puppetTab(page, close, clickOptions, resize) {
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    page.on('console', (message) => ['error', 'warning', 'warn'].includes(message.type()) &&
                                    errors.push(message.text()));
    return {
        goto: (url) => page.goto(url),
        reload: () => page.reload(),
        evaluate: (fn, arg) => page.evaluate(fn, arg),
        down: (key) => page.keyboard.down(typed(key)),
        up: (key) => page.keyboard.up(typed(key)),
        click: (x, y, count) => page.mouse.click(x, y, clickOptions(count)),
        resize,
        screenshot: () => page.screenshot(),
        errors: async () => errors,
        status: () => page.evaluate(statusInPage),
        close,
    };
}

async function chromiumEngine() {
    const browser = await chromium.launch({executablePath: '/usr/bin/chromium',
                                           args: CHROMIUM_FLAGS});
    return {
        serve: served,
        async tab(locale, {width, height, scale = 1, touch = false} = DESKTOP) {
            const context = await browser.newContext({
                locale, viewport: {width, height}, deviceScaleFactor: scale, isMobile: touch,
                hasTouch: touch,
            });
            const page = await context.newPage();
            const tab = puppetTab(page, () => context.close(), (count) => ({clickCount: count}),
                                  (width, height) => page.setViewportSize({width, height}));
            if (touch) {
                tab.click = async (x, y, count) => {
                    for (let i = 0; i < count; ++i) {
                        await page.touchscreen.tap(x, y);
                    }
                };
            }
            const cdp = await context.newCDPSession(page);
            // The region as Chromium gives it to screen readers: a live region's words are its
            // contents, which it reads whole.
            tab.status = async () => {
                const {nodes} = await cdp.send('Accessibility.getFullAXTree');
                const node = nodes.find((node) => node.role && node.role.value === 'status');
                const property = (name) => node.properties.find((p) => p.name === name)?.value.value;
                const text = (node.childIds || [])
                    .map((id) => nodes.find((child) => child.nodeId === id)?.name?.value ?? '')
                    .join('');
                return {text, live: property('live'), atomic: property('atomic')};
            };
            return tab;
        },
        close: () => browser.close(),
    };
}

// Firefox takes its languages from a preference of the whole browser: one browser per locale.
async function firefoxEngine() {
    const browsers = new Map();
    const launch = (locale) => puppeteer.launch({
        browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true,
        extraPrefsFirefox: {'intl.accept_languages': locale},
    });
    return {
        serve: served,
        async tab(locale, {width, height} = DESKTOP) {
            if (!browsers.has(locale)) {
                browsers.set(locale, await launch(locale));
            }
            const context = await browsers.get(locale).createBrowserContext();
            const page = await context.newPage();
            const resize = (width, height) => page.setViewport({width, height});
            await resize(width, height);
            return puppetTab(page, () => context.close(), (count) => ({count}), resize);
        },
        async close() {
            await Promise.all([...browsers.values()].map((browser) => browser.close()));
        },
    };
}

// Classic WebDriver has no log, so the page reports to itself: the page the road serves WebKit
// has this script first, right after its content policy, and keeps it for offline visits.
function hookReports() {
    window.melkoraReports = [];
    const keep = (text) => window.melkoraReports.push(String(text));
    addEventListener('error', (event) => keep(event.message || `no ${event.target.src}`), true);
    addEventListener('unhandledrejection', (event) => keep(event.reason));
    addEventListener('securitypolicyviolation', (event) => keep(`refused ${event.blockedURI}`));
    for (const level of ['error', 'warn']) {
        const original = console[level];
        console[level] = (...args) => {
            keep(args.join(' '));
            original.apply(console, args);
        };
    }
}
const takeReports = () => {
    if (!window.melkoraReports) {
        return location.protocol === 'about:' ? [] : [`${location.href} ran no report hooks`];
    }
    const reports = window.melkoraReports;
    window.melkoraReports = [];
    return reports;
};
// The service worker of a site whose files a test changed, or added to: each file's digest
// taken again, so that the worker keeps them, under a cache name of their own.
export function redigest(folder, added = []) {
    const path = join(folder, 'service-worker.js');
    const worker = readFileSync(path, 'utf8');
    const kept = [...worker.matchAll(/'([^']+)': '([0-9a-f]{64})'/g)].map((m) => [m[1], m[2]]);
    const digest = ([name, before]) => (existsSync(join(folder, name))
        ? createHash('sha256').update(readFileSync(join(folder, name))).digest('hex') : before);
    const files = [...added.map((name) => [name]), ...kept]
        .map((file) => `'${file[0]}': '${digest(file)}'`);
    const version = createHash('sha256').update(files.join()).digest('hex').slice(0, 16);
    writeFileSync(path, worker.replace(/const FILES = \{[^}]*\};/, `const FILES = {${files.join(', ')}};`)
                              .replace(/-[0-9a-f]{16}';/, `-${version}';`));
}

function withHooks(folder, into) {
    cpSync(folder, into, {recursive: true});
    writeFileSync(join(into, 'road-hooks.js'), `(${hookReports})();\n`);
    const edit = (name, from, to) => {
        const text = readFileSync(join(into, name), 'utf8');
        if (!text.includes(from)) {
            throw new Error(`${name} has no ${from}`);
        }
        writeFileSync(join(into, name), text.replace(from, to));
    };
    edit('index.html', '<meta name="referrer"',
         '<script src="road-hooks.js"></script>\n<meta name="referrer"');
    redigest(into, ['road-hooks.js']);
    return into;
}

async function webkitEngine() {
    const home = webkitHome();
    const drivers = new Map();
    return {
        serve: (folder, options) =>
            served(withHooks(folder, mkdtempSync(join(home, 'site-'))), options),
        async tab(locale, viewport = DESKTOP) {
            if (!drivers.has(locale)) {
                drivers.set(locale, await WebKit.start(home, locale));
            }
            let session = null;
            try {
                session = await drivers.get(locale).session(viewport.width, viewport.height);
            } catch (error) {
                // Now and then, after many sessions, the driver never answers a new one; a
                // new driver does.
                console.error(`a new WebKit driver: ${error.message}`);
                await drivers.get(locale).stop();
                drivers.set(locale, await WebKit.start(home, locale));
                session = await drivers.get(locale).session(viewport.width, viewport.height);
            }
            const errors = [];
            const collect = async () => errors.push(...await session.evaluate(takeReports));
            return {
                goto: async (url) => {
                    await collect();
                    await session.goto(url);
                },
                reload: async () => {
                    await collect();
                    await session.reload();
                },
                evaluate: (fn, arg) => session.evaluate(fn, arg),
                down: (key) => session.keys([['keyDown', key]]),
                up: (key) => session.keys([['keyUp', key]]),
                click: (x, y, count) => session.click(x, y, count),
                resize: (width, height) => session.resize(width, height),
                screenshot: () => session.screenshot(),
                errors: async () => {
                    await collect();
                    return errors;
                },
                status: () => session.evaluate(statusInPage),
                close: () => session.close(),
            };
        },
        async close() {
            await Promise.all([...drivers.values()].map((driver) => driver.stop()));
            await removeHome(home);
        },
    };
}

export function engine(name) {
    const start = {chromium: chromiumEngine, firefox: firefoxEngine, webkit: webkitEngine}[name];
    if (!start) {
        throw new Error(`no engine "${name}": one of ${ENGINES.join(', ')}`);
    }
    return start();
}
