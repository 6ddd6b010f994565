#!/usr/bin/env python3
"""Writes the catalogue's three data files (Windows-1252, CR LF) from the table below.
Run it after changing the table; the files it writes are what the repository keeps."""
import os

CATEGORIES = [
    ("Corporate Organization", [
        ("CO01", "Articles of Incorporation", "Short articles forming a business corporation: name, purpose, shares, registered office and agent, and the incorporator.", "articles incorporation incorporate corporation form start new company charter formation"),
        ("CO02", "Resolution Adopting Bylaws", "The board's resolution adopting the corporation's bylaws, with the secretary's certificate.", "bylaws by-laws adopt adoption resolution board directors rules secretary certificate"),
        ("CO03", "Consent to Act as Registered Agent", "The registered agent's written consent to receive legal papers for the corporation at its registered office.", "registered agent consent statutory agent service process office"),
    ]),
    ("Minutes", [
        ("MN01", "Minutes of First Board Meeting", "Minutes of the organizational meeting of a new board: officers elected, bylaws adopted and a bank account opened.", "minutes first organizational board directors meeting officers elected bank"),
        ("MN02", "Minutes of Annual Shareholders Meeting", "Minutes of the yearly shareholders' meeting, with the quorum and the election of directors.", "minutes annual shareholders stockholders meeting election directors quorum"),
        ("MN03", "Waiver of Notice of Meeting", "A director's or shareholder's written waiver of notice of a meeting.", "waiver notice meeting director shareholder consent special"),
    ]),
    ("Stock", [
        ("ST01", "Stock Subscription Agreement", "An agreement to buy shares: the number of shares, the price per share and the total price.", "stock shares subscription agreement buy purchase price investor"),
        ("ST02", "Stock Ledger Entry", "One entry of the stock ledger: certificate number, shareholder, shares, price and amount paid.", "stock ledger register record certificate shares shareholder transfer book"),
        ("ST03", "Stock Power", "An assignment of shares separate from the certificate, appointing someone to record the transfer.", "stock power assignment transfer shares certificate separate sell give"),
    ]),
    ("Operations", [
        ("OP01", "Resolution to Open a Bank Account", "The board's resolution opening a bank account and naming who may sign checks.", "bank account open checking resolution signers checks signatures"),
        ("OP02", "Resolution Authorizing a Loan", "The board's resolution to borrow money, with principal, interest and the total to repay.", "loan borrow borrowing resolution bank interest principal debt note"),
        ("OP03", "Resolution to Move the Principal Office", "The board's resolution moving the corporation's principal office to a new address.", "office move relocate address principal change resolution"),
    ]),
    ("Dividends", [
        ("DV01", "Resolution Declaring a Cash Dividend", "The board's resolution declaring a cash dividend per share, with the total, record date and payment date.", "dividend cash declare declaration resolution per share payment record date"),
        ("DV02", "Notice of Dividend to Shareholder", "A letter telling a shareholder of a dividend and the amount due on the shares held.", "dividend notice shareholder letter amount due shares payment"),
        ("DV03", "Resolution Omitting a Dividend", "The board's resolution to pay no dividend for a period, with the reason.", "dividend omit omission skip defer no dividend resolution"),
    ]),
    ("Compensation", [
        ("CP01", "Resolution Setting Officers' Salaries", "The board's resolution setting the yearly salaries of the president, treasurer and secretary, with the total.", "salary salaries officers compensation pay wages resolution president treasurer secretary"),
        ("CP02", "Resolution Granting a Bonus", "The board's resolution paying a bonus to an employee.", "bonus employee reward compensation pay resolution"),
        ("CP03", "Offer of Employment Letter", "A letter offering a job, with position, department, salary and start date.", "employment offer letter job hire hiring salary position employee at will"),
    ]),
    ("Transfers", [
        ("TR01", "Bill of Sale", "A bill of sale for up to three kinds of goods, with quantities, prices and the total paid.", "bill sale sell goods equipment transfer ownership receipt"),
        ("TR02", "Assignment of Contract", "An assignment of a contract to someone who takes it over, with the other party's consent.", "assignment contract assign transfer rights duties consent"),
        ("TR03", "Motor Vehicle Bill of Sale", "A private sale of a car or truck, with its identification number, mileage and price.", "vehicle car truck auto automobile bill sale odometer mileage vin"),
    ]),
    ("Personal", [
        ("PR01", "Promissory Note", "A promise to repay a loan, with principal, one year's simple interest and the total due.", "promissory note loan borrow lend iou interest principal repay debt"),
        ("PR02", "General Power of Attorney", "Appointing someone to act for you in financial matters, with a notary's acknowledgment.", "power attorney agent appoint financial durable notary"),
        ("PR03", "Consent for a Child to Travel", "A parent's consent for a child to travel with another adult, with permission for emergency care.", "child minor travel consent parent trip permission letter"),
    ]),
    ("Real Estate", [
        ("RE01", "Residential Lease", "A lease of a home for a fixed term, with rent, security deposit and the amount due at signing.", "lease rental rent apartment house home landlord tenant deposit"),
        ("RE02", "Notice of Rent Increase", "A landlord's letter telling a tenant of a new rent and when it begins.", "rent increase notice landlord tenant letter raise"),
        ("RE03", "Rent Receipt", "A receipt for rent paid, with any late fee and the total received.", "rent receipt payment landlord tenant late fee"),
    ]),
    ("Business", [
        ("BU01", "Invoice", "An invoice for up to three lines of goods or services, with subtotal, sales tax and total due.", "invoice bill billing customer sale tax total payment"),
        ("BU02", "Mutual Nondisclosure Agreement", "Two businesses agree to keep each other's confidential information secret.", "nondisclosure non-disclosure nda confidentiality confidential secret agreement"),
        ("BU03", "Demand for Payment", "A letter demanding payment of a past-due account, with the late charge and the total now due.", "demand payment collection past due overdue letter late charge debt"),
    ]),
    ("Other", [
        ("OT01", "General Release", "A release of all claims arising from an event, in exchange for a payment.", "release claims waiver settlement accident payment"),
        ("OT02", "General Affidavit", "A sworn statement of facts, signed before a notary.", "affidavit sworn statement oath notary facts"),
        ("OT03", "Letter of Reference", "A letter recommending a former employee.", "reference recommendation letter employee former job"),
    ]),
]

def write(name, lines):
    data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), name), "wb") as f:
        f.write(data)

items, descriptions, keywords = [], [], []
for category, forms in CATEGORIES:
    items.append(":" + category)
    items.append("")  # the line after each header is never used
    for code, title, description, words in forms:
        items.append("    " + code + " " + title)
        descriptions.append("    " + description)
        keywords.append(code + " " + title.lower() + " " + words)
items.append(":END")
keywords.append("END")
write("Tolvad.Dat", items)
write("Tolvad2.Dat", descriptions)
write("Tolvad3.Dat", keywords)
